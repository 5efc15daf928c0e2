#include "XScreen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "CloseRequest.h"

namespace blackbox {

namespace {

// The shift that brings a visual's colour mask down to bit 0.
int MaskShift(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

// A window can vanish between listing it and asking about it; the answer
// is then simply missing, not the end of the test process.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

TXScreen::TXScreen(const std::string& displayName) {
  XSetErrorHandler(IgnoreXError);
  display_ = XOpenDisplay(displayName.c_str());
  if (display_ == nullptr) throw std::runtime_error("cannot connect to X display " + displayName);
  // Our children must not inherit the connection.
  ::fcntl(ConnectionNumber(display_), F_SETFD, FD_CLOEXEC);
}

TXScreen::~TXScreen() { XCloseDisplay(display_); }

uint32_t TXScreen::Pixel(int x, int y) { return Pixels(x, y, 1, 1).at(0); }

std::vector<uint32_t> TXScreen::Pixels(int x, int y, int width, int height) {
  XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y,
                            static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes,
                            ZPixmap);
  if (image == nullptr) throw std::runtime_error("cannot read the screen");
  const int redShift = MaskShift(image->red_mask), greenShift = MaskShift(image->green_mask),
            blueShift = MaskShift(image->blue_mask);
  std::vector<uint32_t> colours;
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width; ++column) {
      const unsigned long value = XGetPixel(image, column, row);
      const uint32_t red = ((value & image->red_mask) >> redShift) & 0xFF;
      const uint32_t green = ((value & image->green_mask) >> greenShift) & 0xFF;
      const uint32_t blue = ((value & image->blue_mask) >> blueShift) & 0xFF;
      colours.push_back(red | green << 8 | blue << 16);
    }
  XDestroyImage(image);
  return colours;
}

std::vector<TXWindow> TXScreen::ViewableTopLevels() {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  std::vector<TXWindow> viewable;
  if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
    return viewable;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, children[i], &attributes) &&
        attributes.map_state == IsViewable)
      viewable.push_back(children[i]);
  }
  if (children) XFree(children);
  return viewable;
}

std::optional<TXWindow> TXScreen::TopLevelTitled(const std::string& title) {
  const std::vector<TXWindow> windows = ViewableTopLevels();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if (Title(*it) == title) return *it;
  return std::nullopt;
}

bool TXScreen::IsOverrideRedirect(TXWindow window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display_, window, &attributes) && attributes.override_redirect;
}

// _NET_WM_NAME in UTF-8 where the window sets it, else WM_NAME.
std::string TXScreen::Title(TXWindow window) {
  const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, rest = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display_, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &rest, &data) == Success &&
      data != nullptr && type == utf8) {
    title.assign(reinterpret_cast<char*>(data), count);
  } else {
    char* name = nullptr;
    if (XFetchName(display_, window, &name) && name != nullptr) title = name;
    if (name) XFree(name);
  }
  if (data) XFree(data);
  return title;
}

void TXScreen::Origin(TXWindow window, int& x, int& y) {
  Window child = 0;
  x = y = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
}

void TXScreen::SendCloseRequest(TXWindow window) { ::SendCloseRequest(display_, window); }

void TXScreen::Focus(TXWindow window) {
  XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
  XSync(display_, False);
}

std::optional<std::string> TXScreen::SelectionText(const std::string& selection, int timeoutMs) {
  const Atom selectionAtom = XInternAtom(display_, selection.c_str(), False);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  const Atom into = XInternAtom(display_, "KORVA_TEST_SELECTION", False);
  const Window requestor = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1,
                                               0, 0, 0);
  XConvertSelection(display_, selectionAtom, utf8, into, requestor, CurrentTime);
  XFlush(display_);
  std::optional<std::string> text;
  XEvent event;
  for (int waited = 0; waited < timeoutMs; ++waited) {
    if (!XCheckTypedWindowEvent(display_, requestor, SelectionNotify, &event)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    if (event.xselection.property == None) break;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, requestor, into, 0, 65536, True, AnyPropertyType, &type,
                           &format, &count, &rest, &data) == Success &&
        data != nullptr && format == 8)
      text.emplace(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    break;
  }
  XDestroyWindow(display_, requestor);
  XSync(display_, False);
  return text;
}

}  // namespace blackbox
