#include "TPortState.h"

TPortState::TPortState() : line_(std::make_unique<TBlockSerial>()) {}

TPortState::~TPortState() { Close(); }

int TPortState::Open(const std::string& device) {
  Close();
  line_ = std::make_unique<TBlockSerial>();
  portName_ = device;
  line_->OpenDevice(device);
  const int outcome = line_->LastErrorCode;
  // A line that did not open has nothing to set; leaving it alone keeps the
  // cause of the failure in the object.
  if (!line_->DeviceOpen) return outcome;
  line_->ConfigureLine(4800, 8, 'N', 0, false, false);
  // A device that takes no line settings is no serial line (a plain file, for
  // one): every byte would go where no tracker listens. Modem lines are
  // another matter: many adapters, and every pty, have none.
  if (const int refused = line_->LastErrorCode) {
    line_->CloseDevice();  // records its own success; the cause is what stays
    line_->LastErrorCode = refused;
    line_->LastErrorText = TBlockSerial::GetErrorDesc(refused);
    return refused;
  }
  line_->SetDtrLine(true);
  line_->SetRtsLine(true);
  line_->DiscardBuffers();
  return 0;
}

void TPortState::Close() { line_->CloseDevice(); }
