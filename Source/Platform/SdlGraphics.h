// SdlGraphics.h -- the OpenGL 3.3 core graphics device of the SDL platform (internal to it).
#pragma once

#include <SDL.h>

#include <memory>

#include "PlatformGraphics.h"

namespace Platform {

// Sets the OpenGL attributes the game window must be created with (call before creating it).
void PrepareOpenGlWindow();

// The device's render thread as the window's owner sees it: the render thread swaps the window's
// buffers, so whoever changes the window (full screen, title, raising, destroying) first waits
// here until no frame is being drawn or presented.
class TFrameQueue {
 public:
  virtual ~TFrameQueue() = default;
  // Blocks until the render thread has drawn and presented every frame handed to it.
  virtual void WaitIdle() = 0;
};

// Opens the device on Window, which was created with SDL_WINDOW_OPENGL after
// PrepareOpenGlWindow. Headless: nothing is shown and no buffer swap waits for the display.
// MaxBatchQuads > 0 limits the quads of one draw call (1 draws each on its own). Frames receives
// the device's frame queue, which expires with the device. Throws EUnsupportedGraphics or
// EGraphicsError with the messages TPlatform::OpenGraphicsDevice lists.
std::unique_ptr<TGraphicsDevice> OpenSdlGraphicsDevice(SDL_Window* Window, bool Headless,
                                                       int MaxBatchQuads,
                                                       std::weak_ptr<TFrameQueue>& Frames);

}  // namespace Platform
