#include "common/message_loops.h"

#include "platform/messages.h"

int32_t RunTranslatingMessageLoop() {
  platform::Message message = {};
  while (platform::GetMessageA(&message, nullptr, 0, 0) != 0) {
    platform::TranslateMessage(&message);
    platform::DispatchMessageA(&message);
  }
  return static_cast<int32_t>(message.wparam);
}

void RunRetrievingMessageLoop() {
  platform::Message message;
  while (platform::GetMessageA(&message, nullptr, 0, 0) != 0) {
  }
}
