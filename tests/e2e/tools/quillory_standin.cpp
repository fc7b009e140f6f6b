// A stand-in for Quillory.exe: records when its process was created, as which file, in which
// current directory and at which screen width, then ends without showing anything.
#include <string>

#include <windows.h>

#include "RunRecords.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const double started = qs::e2e::tools::CreationMs(GetCurrentProcess());
  char module[MAX_PATH * 2] = {};
  const DWORD moduleLength = GetModuleFileNameA(nullptr, module, sizeof module);
  std::string name(module, moduleLength);
  name = name.substr(name.find_last_of('\\') + 1);
  char directory[MAX_PATH * 2] = {};
  const DWORD directoryLength = GetCurrentDirectoryA(sizeof directory, directory);
  qs::e2e::tools::AppendRecord(
      qs::e2e::tools::kStartLogVariable,
      std::to_string(static_cast<long long>(started)) + "|" + name + "|" +
          std::string(directory, directoryLength) + "|" +
          std::to_string(GetSystemMetrics(SM_CXFULLSCREEN)));
  return 0;
}
