#include "capture/engine_state.h"

namespace quarnel::capture {

EngineState &engineState()
{
    static EngineState state;
    return state;
}

} // namespace quarnel::capture
