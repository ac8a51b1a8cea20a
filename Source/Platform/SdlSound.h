// SdlSound.h -- the SDL platform's sound device: the software mixer feeding SDL's audio callback.
#pragma once

#include <memory>

#include "PlatformSound.h"

namespace Platform {

// Opens the default output at 48 kHz float stereo; headless, or when no output opens, SDL's
// dummy driver (silent, the device's Problem() then tells why the real output failed). Throws
// the failure message when not even the dummy driver starts. Close it before SDL_Quit.
std::unique_ptr<TSoundDevice> OpenSdlSoundDevice(bool Headless);

}  // namespace Platform
