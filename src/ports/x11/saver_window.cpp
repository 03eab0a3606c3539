// The stage window on X11: the hack's own window (a black top-level window that takes keys,
// buttons, pointer moves and the window manager's close) or a given one, and the turning of X
// events into SaverEvents. What the events mean is the hack's business.
#include <sstream>
#include <string>
#include <utility>

#include "base/fault.h"
#include "x11_platform.h"

#include <X11/extensions/Xrandr.h>

namespace fq::x11 {
namespace {

int16_t ShiftState(unsigned int state) {
  int16_t shift = 0;
  if (state & ShiftMask) shift |= kShiftKey;
  if (state & ControlMask) shift |= kControlKey;
  if (state & Mod1Mask) shift |= kAltKey;
  return shift;
}

int16_t ButtonsHeld(unsigned int state) {
  int16_t buttons = 0;
  if (state & Button1Mask) buttons |= kLeftButton;
  if (state & Button3Mask) buttons |= kRightButton;
  if (state & Button2Mask) buttons |= kMiddleButton;
  return buttons;
}

// X numbers the buttons left 1, middle 2, right 3, wheel 4 to 7, back 8, forward 9.
constexpr ButtonCodes kButtonCodes{.left = Button1, .right = Button3, .middle = Button2, .back = 8};

// The drawing is done in 0x00RRGGBB pixels, so the window must hold exactly those.
bool HoldsRgbPixels(const XWindowAttributes& attributes) {
  const Visual& visual = *attributes.visual;
  return attributes.depth == 24 && visual.c_class == TrueColor && visual.red_mask == 0xFF0000 &&
         visual.green_mask == 0x00FF00 && visual.blue_mask == 0x0000FF;
}

// Xlib reports errors to one handler per process. The stage window may be destroyed by its
// maker while drawing on it is still under way: errors about it are dropped, and the window's
// DestroyNotify ends the run at the next yield. Every other error goes to Xlib's own handler.
XErrorHandler xlib_handler = nullptr;
XID stage_window = None;

int DropErrorsAboutTheStage(Display* display, XErrorEvent* error) {
  return error->resourceid == stage_window ? 0 : xlib_handler(display, error);
}

}  // namespace

XWindowAttributes StageAttributes(Display& display, Window stage) {
  stage_window = stage;
  if (!xlib_handler) xlib_handler = XSetErrorHandler(DropErrorsAboutTheStage);
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(&display, stage, &attributes)) {
    std::ostringstream missing;
    missing << "There is no window 0x" << std::hex << stage << " to draw on.";
    throw Fault(FaultKind::PlatformFailure, missing.str());
  }
  return attributes;
}

X11Platform::X11Platform(Display& display, Window given, int scale, SheetSource sheets)
    : display_(display),
      own_window_(given == None),
      splits_(given == None || given == DefaultRootWindow(&display)),
      window_(given),
      chosen_scale_(scale),
      sheets_(std::move(sheets)),
      delete_window_(XInternAtom(&display, "WM_DELETE_WINDOW", False)) {
  if (own_window_) {
    window_size_ = PrimaryScreenSize();
  } else {
    const XWindowAttributes attributes = StageAttributes(display, given);
    window_size_ = {attributes.width, attributes.height};
  }
  if (splits_) WatchMonitors();
  Relayout();
  // By the size at start: a small preview window stays at 1.
  scale_ = ScaleFor(chosen_scale_, layout_.primary);
}

// The stages free their pixmaps and GCs as members; the cursor and the own window go here.
X11Platform::~X11Platform() {
  if (blank_cursor_ != None) XFreeCursor(&display_, blank_cursor_);
  if (own_window_ && window_ != None) XDestroyWindow(&display_, window_);
}

Extent X11Platform::PrimaryScreenSize() {
  const int screen = DefaultScreen(&display_);
  return {DisplayWidth(&display_, screen), DisplayHeight(&display_, screen)};
}

void X11Platform::LoadSaverWindow(const WindowDesign& design, SaverEvents& events) {
  events_ = &events;
  if (primary_) return;
  if (own_window_) {
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(&display_, DefaultScreen(&display_));
    attributes.event_mask =
        KeyPressMask | ButtonPressMask | PointerMotionMask | StructureNotifyMask;
    const PixelRect& rect = design.rect;
    window_ = XCreateWindow(&display_, DefaultRootWindow(&display_), rect.left, rect.top,
                            rect.width, rect.height, 0, CopyFromParent, InputOutput,
                            CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XSetWMProtocols(&display_, window_, &delete_window_, 1);
    SetSaverTitle(design.title);
    window_size_ = {rect.width, rect.height};
    Relayout();
  } else {
    XSelectInput(&display_, window_, StructureNotifyMask);
  }
  const XWindowAttributes attributes = StageAttributes(display_, window_);
  if (!HoldsRgbPixels(attributes)) {
    throw Fault(FaultKind::PlatformFailure,
                "The window to draw on is not 24-bit TrueColor with 8 bits each of red, green "
                "and blue.");
  }
  canvas_ = {&display_, window_, attributes.visual, attributes.depth};
  primary_.emplace(canvas_, sheets_, scale_, layout_.primary);
}

void X11Platform::SetSaverTitle(std::string_view title) {
  if (own_window_) XStoreName(&display_, window_, std::string(title).c_str());
}

void X11Platform::SetSaverOuterSize(Extent size) {
  if (!own_window_) return;
  XResizeWindow(&display_, window_, size.width, size.height);
  window_size_ = size;
  Relayout();
}

Extent X11Platform::SaverOuterSize() { return {layout_.primary.width, layout_.primary.height}; }

bool X11Platform::SaverResized() {
  return layout_.primary.width != reported_size_.width ||
         layout_.primary.height != reported_size_.height;
}

void X11Platform::ShowSaver() {
  if (own_window_) XMapRaised(&display_, window_);
}

// A given window is the size its maker gave it.
void X11Platform::MaximiseSaver() {
  if (!own_window_) return;
  window_size_ = PrimaryScreenSize();
  XMoveResizeWindow(&display_, window_, 0, 0, window_size_.width, window_size_.height);
  Relayout();
}

void X11Platform::RepaintSaver() {
  primary_->PaintBlack();
  XFlush(&display_);
}

void X11Platform::MakeSaverTopmost() {
  if (own_window_) XRaiseWindow(&display_, window_);
}

// A count like the system's on Windows; the pointer hides over the own window only, since
// whoever made a given window decides what the pointer looks like over it.
int32_t X11Platform::ChangePointerCount(bool show) {
  const int32_t count = pointer_count_.Change(show);
  if (!own_window_) return count;
  if (blank_cursor_ == None) {
    const char no_bits = 0;
    const Pixmap empty = XCreateBitmapFromData(&display_, window_, &no_bits, 1, 1);
    XColor black{};
    blank_cursor_ = XCreatePixmapCursor(&display_, empty, empty, &black, &black, 0, 0);
    XFreePixmap(&display_, empty);
  }
  XDefineCursor(&display_, window_, pointer_count_.hidden() ? blank_cursor_ : None);
  return count;
}

void X11Platform::Dispatch(const XEvent& event) {
  switch (event.type) {
    case KeyPress:
      events_->KeyDown(static_cast<int16_t>(event.xkey.keycode), ShiftState(event.xkey.state));
      break;
    case ButtonPress:
      // A turn of the wheel is no click, on Windows either.
      if (event.xbutton.button >= 4 && event.xbutton.button <= 7) break;
      events_->MouseDown(ButtonBit(kButtonCodes, event.xbutton.button), ShiftState(event.xbutton.state),
                         static_cast<float>(event.xbutton.x_root),
                         static_cast<float>(event.xbutton.y_root));
      break;
    // On the screen, which another client moving the window does not change.
    case MotionNotify:
      events_->MouseMove(ButtonsHeld(event.xmotion.state), ShiftState(event.xmotion.state),
                         static_cast<float>(event.xmotion.x_root),
                         static_cast<float>(event.xmotion.y_root));
      break;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == delete_window_) {
        events_->CloseRequested(kCloseFromMenu);
      }
      break;
    // The stage's, or the root's, whose ConfigureNotify also tells of a monitor set by hand.
    case ConfigureNotify:
      if (event.xconfigure.window == window_) {
        window_size_ = {event.xconfigure.width, event.xconfigure.height};
      }
      layout_stale_ = true;
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == window_) events_->CloseRequested(kCloseFromMenu);
      break;
    default:
      // RandR's own: the screen, a CRTC or an output changed.
      if (randr_events_ >= 0 && event.type >= randr_events_ &&
          event.type <= randr_events_ + RRNotify) {
        layout_stale_ = true;
      }
      break;
  }
}

}  // namespace fq::x11
