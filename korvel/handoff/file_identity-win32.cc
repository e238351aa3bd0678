#include "korvel/handoff/file_identity.h"

#include <windows.h>

namespace korvel {

std::optional<FileIdentity> identity_of(const std::string& native) {
  HANDLE file =
      CreateFileA(native.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  bool ok = GetFileInformationByHandle(file, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  auto join = [](DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; };
  return FileIdentity{
      info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
      join(info.nFileSizeHigh, info.nFileSizeLow),
      static_cast<std::int64_t>(join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime))};
}

}  // namespace korvel
