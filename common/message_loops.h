// The message loops. Each runs until a quit message comes; a result of -1
// from the retrieval counts as a message.
#pragma once
#include <cstdint>

// Translates and dispatches; returns the quit message's code.
int32_t RunTranslatingMessageLoop();
// Retrieves only, for windows that get sent messages alone; posted ones are dropped.
void RunRetrievingMessageLoop();
