// The property-list reader on a file of arbitrary bytes, XML or binary.

#include <cstddef>
#include <cstdint>
#include <fstream>

#include "formats/PropertyList.h"
#include "support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const pricora::test::TempDir folder;
  static const std::string path = folder.file("Experimental.plist");
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  (void)pricora::readPropertyListString(path, "refreshFrequency");
  return 0;
}
