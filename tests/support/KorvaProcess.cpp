#include "KorvaProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "ChildProcess.h"
#include "RootPowers.h"
#include "SandboxCheck.h"
#include "XScreen.h"
#include "XvfbServer.h"

namespace blackbox {

namespace {

constexpr uid_t kNobody = 65534;
constexpr int kWindowWidth = 387, kWindowHeight = 368;
// Far from the window, which stands at the screen's centre, and from the
// dialogs, which with no window manager open at the top left.
constexpr int kParkX = 1279, kParkY = 1023;

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream words(text);
  std::vector<std::string> list;
  for (std::string word; words >> word;) list.push_back(word);
  return list;
}

bool Before(int64_t deadline) { return MonotonicNs() < deadline; }

int64_t DeadlineAfter(TMillis timeout) {
  return MonotonicNs() + std::chrono::nanoseconds(timeout).count();
}

void Nap() { std::this_thread::sleep_for(std::chrono::microseconds(200)); }

// The same program where another user can reach it: the build may lie below
// a folder only its owner may enter (a home or a mktemp folder of mode
// 0700), while the run's own folder lies in the sandbox's open home. The
// copy keeps the name and the mode.
std::string CopyInto(const std::string& folder, const std::string& program) {
  const std::string copy = folder + "/" + std::filesystem::path(program).filename().string();
  std::filesystem::copy_file(program, copy);
  return copy;
}

std::string DescribeStatus(int status) {
  if (WIFEXITED(status)) return "exited with status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status))
    return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
           ::strsignal(WTERMSIG(status)) + ")";
  return "wait status " + std::to_string(status);
}

}  // namespace

TKorvaProcess::TKorvaProcess(TKorvaOptions options) : options_(std::move(options)) {
  RequireSandbox("the black-box harness");
  if (options_.unprivileged && !HaveRootPowers())
    throw std::runtime_error(std::string("korva as uid 65534: ") + kNeedsRootPowers +
                             "; start such a test with SKIP_WITHOUT_ROOT_POWERS()");
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  // In the sandbox's own temporary folder, which goes when the test ends.
  const char* home = std::getenv("KORVA_SANDBOX_HOME");
  std::string base = std::string(home ? home : ".") + "/korva-run.XXXXXX";
  if (::mkdtemp(base.data()) == nullptr) throw std::runtime_error("cannot make a run folder");
  baseDir_ = std::filesystem::absolute(base).string();
  ::chmod(baseDir_.c_str(), 0755);
  workDir_ = baseDir_ + "/work";
  if (::mkdir(workDir_.c_str(), 0755) != 0) throw std::runtime_error("cannot make " + workDir_);
  const std::string settings = workDir_ + "/korva.ini";
  if (options_.settings) WriteWhole(settings, *options_.settings);
  program_ = options_.program.empty() ? KORVA_PROGRAM : options_.program;
  if (options_.unprivileged) {
    if (::chown(workDir_.c_str(), kNobody, kNobody) != 0 ||
        (options_.settings && ::chown(settings.c_str(), kNobody, kNobody) != 0))
      throw std::runtime_error("chown of " + workDir_ + " to uid 65534: " + std::strerror(errno));
    program_ = CopyInto(baseDir_, program_);
  }
  server_ = std::make_unique<TXvfbServer>(options_.dpi);
  screen_ = std::make_unique<TXScreen>(server_->Name());
  for (const std::string& device : options_.devices)
    ports_[device] = std::make_unique<TRecordingPty>(device);
}

TKorvaProcess::~TKorvaProcess() {
  Kill();
  if (clipboard_ > 0) {
    ::kill(-clipboard_, SIGKILL);
    WaitForChild(clipboard_, TMillis(10000));
  }
  ports_.clear();
  pulled_.clear();
  screen_.reset();
  server_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(baseDir_, ignored);
}

TRecordingPty& TKorvaProcess::Port(const std::string& devicePath) {
  const auto found = ports_.find(devicePath);
  if (found == ports_.end()) throw std::out_of_range("no pty made for " + devicePath);
  return *found->second;
}

TRecordingPty& TKorvaProcess::Replug(const std::string& devicePath) {
  TRecordingPty& old = Port(devicePath);
  if (!old.Unplugged()) old.Unplug();
  std::unique_ptr<TRecordingPty>& port = ports_[devicePath];
  pulled_.push_back(std::move(port));
  port = std::make_unique<TRecordingPty>(devicePath);
  return *port;
}

void TKorvaProcess::Start() {
  if (pid_ > 0 && !exitStatus_) throw std::logic_error("korva is running already");
  TSpawnSetup setup;
  setup.workDir = workDir_;
  setup.stdoutPath = baseDir_ + "/stdout.txt";
  setup.stderrPath = baseDir_ + "/stderr.txt";
  setup.ownProcessGroup = true;
  if (options_.unprivileged) setup.user = kNobody;
  const std::vector<std::string> argv{program_};
  const std::vector<std::string> env = EnvironmentForDisplay(server_->Name());
  window_ = 0;
  firstPaintNs_ = 0;
  exitStatus_.reset();
  execNs_ = MonotonicNs();
  pid_ = SpawnChild(argv, env, setup);
}

bool TKorvaProcess::Ended() {
  if (pid_ <= 0) return true;
  if (!exitStatus_) exitStatus_ = WaitForChild(pid_, TMillis(0));
  return exitStatus_.has_value();
}

testing::AssertionResult TKorvaProcess::WaitForWindow(TMillis timeout) {
  if (pid_ <= 0) return testing::AssertionFailure() << "korva has not been started";
  const std::optional<int64_t> painted = WaitForColour(LampCentre(TLamp::WriteConf), kGrey, timeout);
  if (painted) {
    firstPaintNs_ = *painted;
    return testing::AssertionSuccess();
  }
  std::string why;
  if (Ended())
    why = "korva ended before its window showed: " + DescribeStatus(*exitStatus_);
  else if (FindMainWindow())
    why = "the KORVA window showed, but its Write Conf. lamp was not grey within " +
          std::to_string(timeout.count()) + " ms";
  else
    why = "korva still runs but showed no KORVA window within " + std::to_string(timeout.count()) +
          " ms";
  const std::string errors = Stderr();
  return testing::AssertionFailure()
         << why << (errors.empty() ? "; its error stream is empty" : "; its error stream:\n" + errors);
}

std::optional<int> TKorvaProcess::WaitForExit(TMillis timeout) {
  if (pid_ <= 0) return std::nullopt;
  if (!exitStatus_) exitStatus_ = WaitForChild(pid_, timeout);
  return exitStatus_;
}

void TKorvaProcess::SendCloseRequest() { screen_->SendCloseRequest(MainWindow()); }

void TKorvaProcess::Kill() {
  if (Ended()) return;
  ::kill(-pid_, SIGKILL);
  exitStatus_ = WaitForChild(pid_, TMillis(10000));
}

std::string TKorvaProcess::Stdout() const { return ReadWhole(baseDir_ + "/stdout.txt"); }
std::string TKorvaProcess::Stderr() const { return ReadWhole(baseDir_ + "/stderr.txt"); }

std::optional<TXWindow> TKorvaProcess::FindMainWindow() {
  if (window_ == 0) {
    if (std::optional<TXWindow> found = screen_->TopLevelTitled("KORVA")) window_ = *found;
  }
  if (window_ == 0) return std::nullopt;
  return window_;
}

TXWindow TKorvaProcess::MainWindow() {
  const std::optional<TXWindow> window = FindMainWindow();
  if (!window) throw std::runtime_error("the KORVA window is not on the screen");
  return *window;
}

TPoint TKorvaProcess::Origin() {
  TPoint origin;
  screen_->Origin(MainWindow(), origin.x, origin.y);
  return origin;
}

uint32_t TKorvaProcess::Colour(TPoint point) {
  const TPoint origin = Origin();
  return screen_->Pixel(origin.x + point.x, origin.y + point.y);
}

std::optional<int64_t> TKorvaProcess::WaitForColour(TPoint point, uint32_t colour,
                                                    TMillis timeout) {
  const int64_t deadline = DeadlineAfter(timeout);
  do {
    if (FindMainWindow() && Colour(point) == colour) return MonotonicNs();
    if (Ended()) return std::nullopt;
    Nap();
  } while (Before(deadline));
  return std::nullopt;
}

std::vector<uint32_t> TKorvaProcess::Pixels(TRect rect) {
  const TPoint origin = Origin();
  return screen_->Pixels(origin.x + rect.left, origin.y + rect.top, rect.width, rect.height);
}

std::string TKorvaProcess::SaveScreenshot(const std::string& name) {
  const char* folder = std::getenv("KORVA_TEST_OUTPUT");
  const std::string path = std::string(folder ? folder : baseDir_.c_str()) + "/" + name + ".ppm";
  const TPoint origin = Origin();
  const std::vector<uint32_t> pixels =
      screen_->Pixels(origin.x, origin.y, kWindowWidth, kWindowHeight);
  std::string image =
      "P6\n" + std::to_string(kWindowWidth) + " " + std::to_string(kWindowHeight) + "\n255\n";
  for (uint32_t pixel : pixels) {
    image += static_cast<char>(pixel & 0xFF);
    image += static_cast<char>(pixel >> 8 & 0xFF);
    image += static_cast<char>(pixel >> 16 & 0xFF);
  }
  WriteWhole(path, image);
  return path;
}

void TKorvaProcess::Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  const pid_t pid = SpawnChild(argv, EnvironmentForDisplay(server_->Name()), TSpawnSetup{});
  const std::optional<int> status = WaitForChild(pid, TMillis(30000));
  if (!status) {
    ::kill(pid, SIGKILL);
    WaitForChild(pid, TMillis(1000));
  }
  if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
    throw std::runtime_error("xdotool failed");
}

void TKorvaProcess::Click(TPoint point) {
  const TPoint origin = Origin();
  Xdotool({"mousemove", std::to_string(origin.x + point.x), std::to_string(origin.y + point.y),
           "click", "1", "mousemove", std::to_string(kParkX), std::to_string(kParkY)});
}

void TKorvaProcess::PressButton(TPoint point) {
  const TPoint origin = Origin();
  Xdotool({"mousemove", std::to_string(origin.x + point.x), std::to_string(origin.y + point.y),
           "mousedown", "1"});
}

void TKorvaProcess::ReleaseButton() { Xdotool({"mouseup", "1"}); }

void TKorvaProcess::ClickControl(const std::string& name) { Click(ControlRect(name).Centre()); }

void TKorvaProcess::Type(const std::string& text) {
  screen_->Focus(MainWindow());
  Xdotool({"type", "--delay", "20", "--", text});
}

void TKorvaProcess::PressKey(const std::string& keys) { PressKeyIn(MainWindow(), keys); }

void TKorvaProcess::PressKeyIn(TXWindow window, const std::string& keys) {
  screen_->Focus(window);
  SendKeys(keys);
}

void TKorvaProcess::SendKeys(const std::string& keys) {
  std::vector<std::string> args{"key", "--delay", "20"};
  for (const std::string& key : Words(keys)) args.push_back(key);
  Xdotool(args);
}

void TKorvaProcess::UnmapWindow() {
  Xdotool({"windowunmap", "--sync", std::to_string(MainWindow())});
}

void TKorvaProcess::MapWindow() {
  Xdotool({"windowmap", "--sync", std::to_string(MainWindow())});
}

std::optional<std::string> TKorvaProcess::MessageText(TXWindow box, const std::string& keys,
                                                     TMillis timeout) {
  // Whatever held the selection before must not pass for the box's text.
  const std::optional<std::string> before = screen_->SelectionText("PRIMARY", 200);
  PressKeyIn(box, keys);
  const int64_t deadline = DeadlineAfter(timeout);
  do {
    std::optional<std::string> text = screen_->SelectionText("PRIMARY", 200);
    if (text && text != before) return text;
    Nap();
  } while (Before(deadline));
  return std::nullopt;
}

std::optional<TXWindow> TKorvaProcess::FindWindow(const std::string& title, TMillis timeout) {
  const int64_t deadline = DeadlineAfter(timeout);
  do {
    if (std::optional<TXWindow> found = screen_->TopLevelTitled(title)) return found;
    Nap();
  } while (Before(deadline));
  return std::nullopt;
}

bool TKorvaProcess::SetClipboard(const std::string& text, TMillis timeout) {
  if (clipboard_ > 0) {
    ::kill(-clipboard_, SIGKILL);
    WaitForChild(clipboard_, TMillis(10000));
  }
  const std::string offered = baseDir_ + "/clipboard.txt";
  WriteWhole(offered, text);
  TSpawnSetup owner;
  owner.ownProcessGroup = true;
  // In the foreground, so the harness can end it.
  clipboard_ = SpawnChild({"xclip", "-quiet", "-selection", "clipboard", offered},
                          EnvironmentForDisplay(server_->Name()), owner);
  const int64_t deadline = DeadlineAfter(timeout);
  do {
    if (screen_->SelectionText("CLIPBOARD", 200) == text) return true;
    Nap();
  } while (Before(deadline));
  return false;
}

std::optional<TXWindow> TKorvaProcess::NewPopup(const std::vector<TXWindow>& before,
                                                TMillis timeout) {
  const int64_t deadline = DeadlineAfter(timeout);
  do {
    for (TXWindow window : screen_->ViewableTopLevels())
      if (std::find(before.begin(), before.end(), window) == before.end() &&
          screen_->IsOverrideRedirect(window))
        return window;
    Nap();
  } while (Before(deadline));
  return std::nullopt;
}

bool TKorvaProcess::PickPort(int row, TMillis timeout) {
  const std::vector<TXWindow> before = screen_->ViewableTopLevels();
  ClickControl("ComboBox1.Arrow");
  const std::optional<TXWindow> list = NewPopup(before, timeout);
  if (!list) return false;
  std::string keys = "Home";
  for (int i = 0; i < row; ++i) keys += " Down";
  // The open list holds the keyboard: the keys reach it wherever the focus is.
  SendKeys(keys + " Return");
  const int64_t deadline = DeadlineAfter(timeout);
  do {
    const std::vector<TXWindow> now = screen_->ViewableTopLevels();
    if (std::find(now.begin(), now.end(), *list) == now.end()) return true;
    Nap();
  } while (Before(deadline));
  return false;
}

}  // namespace blackbox
