#include "ConfigBlock.h"

#include <algorithm>
#include <stdexcept>

namespace {

using BlockBytes = std::array<std::uint8_t, ConfigBlockOffset::End>;

// Lays the fields down one after another; each names the offset it expects to
// start at, so a field of the wrong width shows at once instead of shifting
// every field after it.
class BlockWriter {
 public:
  explicit BlockWriter(BlockBytes& bytes) : bytes_(bytes) {}

  template <std::size_t N>
  void Put(std::size_t offset, const std::array<std::uint8_t, N>& field) {
    Expect(offset);
    std::copy(field.begin(), field.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    next_ += N;
  }
  void Put(std::size_t offset, std::uint8_t byte) {
    Expect(offset);
    bytes_[next_++] = byte;
  }
  void FillToEnd(std::size_t offset, std::uint8_t byte) {
    Expect(offset);
    std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), bytes_.end(), byte);
    next_ = bytes_.size();
  }

 private:
  void Expect(std::size_t offset) const {
    if (offset != next_) throw std::logic_error("configuration block field out of place");
  }

  BlockBytes& bytes_;
  std::size_t next_ = 0;
};

}  // namespace

ConfigBlock EncodeConfigBlock(const ConfigEntries& entries) {
  namespace at = ConfigBlockOffset;
  ConfigBlock block;
  BlockWriter out(block.bytes);

  const CallWithSsid station = CallSignField(entries.callSign);
  out.Put(at::CallSign, station.call);
  out.Put(at::CallSignSsid, station.ssid);
  out.Put(at::Constant, std::uint8_t{1});
  out.Put(at::Position, PositionField(entries.position));
  out.Put(at::Symbol, SymbolField(entries.symbol));
  const BeaconField beacon = BeaconTextField(entries.beaconText);
  out.Put(at::BeaconText, beacon.bytes);
  block.beaconEntrySetToBlank = beacon.entrySetToBlank;

  out.Put(at::Threshold, ThresholdByte(entries.upDownPosition));
  out.Put(at::Flags, FlagsByte(entries.interval, entries.threshChecked));
  out.Put(at::Interval, IntervalByte(entries.interval));
  const PathField path = PathFields(entries.path);
  out.Put(at::FirstPathCall, path.first.call);
  out.Put(at::FirstPathSsid, path.first.ssid);
  out.Put(at::SecondPathCall, path.second.call);
  out.Put(at::SecondPathSsid, path.second.ssid);
  out.Put(at::TxDelay, TxDelayByte(entries.txDelay));
  out.FillToEnd(at::Filler, std::uint8_t{'X'});
  return block;
}
