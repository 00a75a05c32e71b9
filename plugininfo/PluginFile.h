// Reads what a plug-in file says about itself: the executable's machine type and sections, its
// resource directory, the plug-in property list (resource type "PiPL") and the version
// information. Plain C++ over a ByteSource: every offset and length is checked against the
// source, and a file that does not hold together is answered as "not a valid plug-in".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "plugininfo/ByteSource.h"

namespace plugininfo {

// Machine types of the executable header.
constexpr uint16_t kMachineX86 = 0x014C;
constexpr uint16_t kMachineX64 = 0x8664;

struct PluginDetails {
  bool valid = false;
  std::wstring problem;  // why the file is not a valid plug-in (empty when valid)

  uint16_t machine = 0;
  bool hasPropertyList = false;
  // From the property list; the texts are bytes in the system's code page.
  std::string kind;           // "8BFM" for filters
  std::string name;
  std::string category;
  std::string entryPoint32;   // "wx86"
  std::string entryPoint64;   // "8664"
  std::optional<uint32_t> interfaceVersion;  // "vers"

  // From the version information.
  std::wstring description;  // FileDescription
  std::wstring company;      // CompanyName
  std::wstring fileVersion;  // FileVersion, or the numbers of the fixed part when it is missing

  // Which editors can load the file: the machine type decides, and a property list must also
  // name an entry point for that machine. A property list that names both entry points does not
  // make one executable loadable by both.
  bool loads32 = false;
  bool loads64 = false;
};

PluginDetails ReadPluginDetails(ByteSource& source);

}  // namespace plugininfo
