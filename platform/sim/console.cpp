#include "platform/console.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/sim/state.h"

namespace platform {

// The bytes go to the run's output as they are; the trace shows line ends as \n.
int32_t WriteOutput(const char* text) {
  sim::Lock lock = sim::Enter();
  size_t length = std::strlen(text);
  if (write(sim::S().output_fd, text, length) != static_cast<ssize_t>(length)) return -1;
  std::string shown;
  for (const char* p = text; *p; ++p) shown += *p == '\n' ? std::string("\\n") : std::string(1, *p);
  sim::Trace("fputs stdout \"%s\"", shown.c_str());
  return 1;
}

int32_t FlushOutput() {
  sim::Lock lock = sim::Enter();
  sim::Trace("fflush stdout");
  return 0;
}

// The program's listing stands in the output where the console would show it.
int32_t RunPassingOutput(const char16_t* program, const char16_t* command_line) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("CreateProcessW");
  sim::Trace("CreateProcessW %s \"%s\"%s", sim::Utf8(program).c_str(), sim::Utf8(command_line).c_str(),
             fails ? " fails" : "");
  if (fails) return -1;
  if (sim::Failing("ReadFile")) return 0;  // it said nothing: crashed at once
  std::string listing = "<listing of " + sim::Utf8(command_line) + ">\n";
  ssize_t written = write(sim::S().output_fd, listing.data(), listing.size());
  return static_cast<int32_t>(written);
}

}  // namespace platform
