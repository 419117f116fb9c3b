// The JSON loader of the persistence service on any bytes: it reads a document or
// throws what the persistence service's call boundary turns into a result code.

#include <cstddef>
#include <cstdint>
#include <span>

#include "components/framework/com_error.h"
#include "lumxstd/text_format.h"
#include "std/except/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  try {
    lumxstd::TextReader reader(std::span<const uint8_t>(data, size), 0xFFFFFF);
    reader.readDocument(nullptr);
  } catch (const lcException&) {
  } catch (const lcCOMError&) {
  }
  return 0;
}
