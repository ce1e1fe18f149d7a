// Reads the fixed file-version record from the bytes of a Windows executable
// (a PE file's RT_VERSION resource), without the platform's version API.

#ifndef VELKARO_PORT_PE_VERSION_H_
#define VELKARO_PORT_PE_VERSION_H_

#include <optional>
#include <string>

#include "port/platform.h"

namespace velkaro::pe {

// The four parts of the first version resource's VS_FIXEDFILEINFO file
// version, or nothing when the bytes are not a PE file with one. Never reads
// outside `file`, whatever it holds.
std::optional<FileVersion> ReadFixedFileVersion(const std::string& file);

}  // namespace velkaro::pe

#endif  // VELKARO_PORT_PE_VERSION_H_
