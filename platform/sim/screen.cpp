#include "platform/screen.h"

#include "platform/sim/state.h"

namespace platform {

static const Handle kScreenDc = reinterpret_cast<Handle>(0xDC);

Handle GetDC(Handle window) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("GetDC");
  sim::Trace("GetDC %p%s", window, fails ? " fails" : "");
  return fails ? nullptr : kScreenDc;
}

int32_t GetDeviceCaps(Handle dc, int32_t index) {
  sim::Lock lock = sim::Enter();
  int32_t value = 0;
  if (dc == kScreenDc && index == 118) value = sim::S().world.width;
  if (dc == kScreenDc && index == 117) value = sim::S().world.height;
  sim::Trace("GetDeviceCaps %d = %d", index, value);
  return value;
}

int32_t ReleaseDC(Handle window, Handle dc) {
  sim::Lock lock = sim::Enter();
  sim::Trace("ReleaseDC %p", window);
  return dc == kScreenDc;
}

uint32_t GetPixel(Handle dc, int32_t x, int32_t y) {
  sim::Lock lock = sim::Enter();
  uint32_t colour = 0;
  for (const sim::TimedColour& at : sim::S().world.pixels)
    if (at.at <= sim::S().now) colour = at.colour;
  if (dc != kScreenDc) colour = 0xFFFFFFFF;  // CLR_INVALID
  sim::Trace("GetPixel %d,%d = %06X", x, y, colour);
  return colour;
}

}  // namespace platform
