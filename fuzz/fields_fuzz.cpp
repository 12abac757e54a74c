// Any bytes at all, read the way the spectrum loader and the settings file read a file:
// alternately a text field and a numeric field until the end or the first run-time error.
// The first input byte picks the buffer size, so that fields straddle refills anywhere.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/shell/session.h"
#include "runtime/convert/cp932.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/files/field_reader.h"

// The run-time's services need a program current on the thread; one serves every input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static app::Session session;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::size_t buffer = data[0] >= 0xF0 ? rt::kReadBufferBytes : 1 + data[0] % 17;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  rt::MemorySource source(bytes);
  rt::FieldReader reader(source, bytes.size(), 0, buffer);
  try {
    for (bool text = true; !reader.at_end(); text = !text) {
      std::uint64_t before = reader.position();
      if (text) {
        std::string field = rt::cp932_to_utf8(reader.read_text());
        if (field.size() > 3 * rt::kMaxFieldBytes) __builtin_trap();
      } else {
        reader.read_number();
      }
      // A read that succeeds without consuming anything would make the loader loop forever.
      if (reader.position() == before) __builtin_trap();
    }
    // Reading at the end must be error 54, never data.
    try {
      reader.read_text();
      __builtin_trap();
    } catch (const rt::RuntimeError& e) {
      if (e.number() != rt::kReadPastEnd) __builtin_trap();
    }
  } catch (const rt::RuntimeError&) {
  }
  rt::utf8_to_cp932(bytes);
  return 0;
}
