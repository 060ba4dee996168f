#include "engine/engine_state.h"

EngineState g_engine;
