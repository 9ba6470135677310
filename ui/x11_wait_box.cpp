#include "ui/x11_wait_box.h"

// Xlib defines macros (None, Bool, Status, ...) that clash with other headers, so this file
// includes nothing of the toolkit.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <langinfo.h>

#include <string_view>
#include <vector>

namespace morvela {

namespace {

// A bold sans font of 17 pixels (16 points on a 75 dpi screen). In a UTF-8 locale that Xlib
// supports, the box draws through a font set, which covers every character set of the locale
// (Slovak and German letters alike); otherwise through one font, with Unicode glyphs when the
// server has them and Latin-1 at least. "fixed" exists on every server.
constexpr const char kFontSetNames[] =
    "-*-helvetica-bold-r-normal--17-*-*-*-*-*-*-*,-*-*-bold-r-normal--17-*-*-*-*-*-*-*,fixed";
constexpr const char* kFontNames[] = {
    "-*-helvetica-bold-r-normal--17-*-*-*-*-*-iso10646-1",
    "-*-helvetica-bold-r-*-*-17-*-*-*-*-*-*-*",
    "-*-*-bold-r-normal--17-*-*-*-*-*-iso10646-1",
    "-*-*-bold-r-*-*-17-*-*-*-*-*-*-*",
    "fixed",
};
constexpr char kWindowClass[] = "TFrmKomunikatProszeCzekac";
constexpr int kDefaultDpi = 96;

// UTF-8 to the two-byte characters of the 16-bit text calls (the Basic Multilingual Plane; a
// character beyond it or a broken sequence becomes "?").
std::vector<XChar2b> ToChar2b(const std::string& text) {
  std::vector<XChar2b> out;
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    unsigned code = '?';
    size_t len = 1;
    if (b < 0x80) {
      code = b;
    } else if ((b & 0xE0) == 0xC0 && i + 1 < text.size()) {
      code = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      len = 2;
    } else if ((b & 0xF0) == 0xE0 && i + 2 < text.size()) {
      code = ((b & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
             (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
    }
    out.push_back(
        XChar2b{static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code & 0xFF)});
    i += len;
  }
  return out;
}

}  // namespace

void PrepareX11Threads() {
  XInitThreads();
}

struct X11WaitBox::Impl {
  Display* display = nullptr;
  int screen = 0;
  Window window = 0;
  GC gc = nullptr;
  XFontSet font_set = nullptr;
  XFontStruct* font = nullptr;
  unsigned long face = 0;
  unsigned long ink = 0;
  WaitBoxPicture picture;

  int Dpi() const {
    const int mm = DisplayHeightMM(display, screen);
    return mm > 0 ? static_cast<int>(DisplayHeight(display, screen) * 25.4 / mm + 0.5)
                  : kDefaultDpi;
  }

  void LoadFonts() {
    // The font set converts from the locale's character set; the messages are UTF-8.
    if (XSupportsLocale() && std::string_view(nl_langinfo(CODESET)) == "UTF-8") {
      char** missing = nullptr;
      int missing_count = 0;
      char* fallback = nullptr;
      font_set = XCreateFontSet(display, kFontSetNames, &missing, &missing_count, &fallback);
      if (missing) XFreeStringList(missing);
      if (font_set) return;
    }
    for (const char* name : kFontNames) {
      if ((font = XLoadQueryFont(display, name))) return;
    }
  }

  // The font's height in pixels and the part of it above the base line; 0 without a font.
  int Height() const {
    if (font_set) return XExtentsOfFontSet(font_set)->max_logical_extent.height;
    return font ? font->ascent + font->descent : 0;
  }
  int Ascent() const {
    if (font_set) return -XExtentsOfFontSet(font_set)->max_logical_extent.y;
    return font ? font->ascent : picture.line_height;
  }

  int Width(const std::string& text) const {
    if (font_set) {
      XRectangle ink_box{}, logical{};
      Xutf8TextExtents(font_set, text.data(), static_cast<int>(text.size()), &ink_box, &logical);
      return logical.width;
    }
    if (!font) return 0;
    std::vector<XChar2b> chars = ToChar2b(text);
    return XTextWidth16(font, chars.data(), static_cast<int>(chars.size()));
  }

  void Draw(int x, int baseline, const std::string& text) {
    if (font_set) {
      Xutf8DrawString(display, window, font_set, gc, x, baseline, text.data(),
                      static_cast<int>(text.size()));
    } else {
      std::vector<XChar2b> chars = ToChar2b(text);
      XDrawString16(display, window, gc, x, baseline, chars.data(), static_cast<int>(chars.size()));
    }
  }

  void Paint() {
    XSetForeground(display, gc, face);
    XFillRectangle(display, window, gc, 0, 0, static_cast<unsigned>(picture.width),
                   static_cast<unsigned>(picture.height));
    XSetForeground(display, gc, ink);
    for (const WaitBoxPicture::Line& line : picture.lines)
      Draw(line.x, line.y + Ascent(), line.text);
    XFlush(display);
  }
};

X11WaitBox::X11WaitBox() : impl_(std::make_unique<Impl>()) {}

X11WaitBox::~X11WaitBox() {
  Close();
}

void X11WaitBox::Open() {
  Impl& x = *impl_;
  x.display = XOpenDisplay(nullptr);
  if (!x.display) return;
  x.screen = DefaultScreen(x.display);
  const Window root = RootWindow(x.display, x.screen);
  x.LoadFonts();
  XColor colour{};
  colour.red = static_cast<unsigned short>(257 * kWaitBoxColour.r);
  colour.green = static_cast<unsigned short>(257 * kWaitBoxColour.g);
  colour.blue = static_cast<unsigned short>(257 * kWaitBoxColour.b);
  colour.flags = DoRed | DoGreen | DoBlue;
  x.face = XAllocColor(x.display, DefaultColormap(x.display, x.screen), &colour)
               ? colour.pixel
               : WhitePixel(x.display, x.screen);
  x.ink = BlackPixel(x.display, x.screen);

  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = x.face;
  attributes.save_under = True;
  attributes.event_mask = ExposureMask | VisibilityChangeMask;
  x.window =
      XCreateWindow(x.display, root, 0, 0, 1, 1, 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel | CWSaveUnder | CWEventMask, &attributes);
  XClassHint hint{const_cast<char*>(kWindowClass), const_cast<char*>(kWindowClass)};
  XSetClassHint(x.display, x.window, &hint);
  x.gc = XCreateGC(x.display, x.window, 0, nullptr);
  if (x.font) XSetFont(x.display, x.gc, x.font->fid);
}

void X11WaitBox::Close() {
  Impl& x = *impl_;
  if (!x.display) return;
  if (x.gc) XFreeGC(x.display, x.gc);
  if (x.font_set) XFreeFontSet(x.display, x.font_set);
  if (x.font) XFreeFont(x.display, x.font);
  if (x.window) XDestroyWindow(x.display, x.window);
  XCloseDisplay(x.display);
  x = Impl{};
}

int X11WaitBox::ScreenWidth() {
  return impl_->display ? DisplayWidth(impl_->display, impl_->screen) : 0;
}

int X11WaitBox::ScreenHeight() {
  return impl_->display ? DisplayHeight(impl_->display, impl_->screen) : 0;
}

int X11WaitBox::LineHeight() {
  const Impl& x = *impl_;
  if (x.Height() > 0) return x.Height();
  return WaitLineHeightFromPoints(kWaitFontPoints, x.display ? x.Dpi() : kDefaultDpi);
}

int X11WaitBox::TextWidth(const std::string& line) {
  return impl_->Width(line);
}

void X11WaitBox::Show(const WaitBoxPicture& picture) {
  Impl& x = *impl_;
  if (!x.display) return;
  x.picture = picture;
  XMoveResizeWindow(x.display, x.window, picture.left, picture.top,
                    static_cast<unsigned>(picture.width), static_cast<unsigned>(picture.height));
  XMapRaised(x.display, x.window);
  x.Paint();
}

void X11WaitBox::Hide() {
  Impl& x = *impl_;
  if (!x.display) return;
  XUnmapWindow(x.display, x.window);
  XFlush(x.display);
}

void X11WaitBox::Poll() {
  Impl& x = *impl_;
  if (!x.display) return;
  while (XPending(x.display) > 0) {
    XEvent event;
    XNextEvent(x.display, &event);
    if (event.type == Expose && event.xexpose.count == 0) {
      x.Paint();
    } else if (event.type == VisibilityNotify && event.xvisibility.state != VisibilityUnobscured) {
      XRaiseWindow(x.display, x.window);
      XFlush(x.display);
    }
  }
}

}  // namespace morvela
