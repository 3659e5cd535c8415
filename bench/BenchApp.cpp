#include "BenchApp.h"

#include <GL/gl.h>

#include "Base/Snd/SndSoundEffect.h"
#include "FrameStats.h"

namespace bench {

void BenchApp::update(unsigned int ms)
{
    KovoApplication::update(ms);
    if (_firstFrameMs == 0) {
        // The swap has been asked for; the frame is shown once the driver has finished it.
        glFinish();
        _firstFrameMs = wallMs();
    }
}

void BenchApp::frame(unsigned int ms)
{
    pollEvents();
    update(ms);
    SndSoundEffect::updateAll();
}

}  // namespace bench
