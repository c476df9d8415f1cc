// Saving a file so that the previous one is never lost: the bytes go into a new file in the same
// folder, reach the disk, and only then replace the original in one step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

// Empty on success; otherwise why the save failed, the original left as it was and the
// temporary file removed.
std::wstring GravarAtomico(const std::wstring& caminho, const std::vector<uint8_t>& bytes);

// The system's text for an error code, without its trailing line break.
std::wstring TextoDoErro(unsigned long codigo);

}  // namespace demo
