#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace vw::win32 {

// Opens directory entries as themselves, never through a link. Windows
// honours FILE_FLAG_OPEN_REPARSE_POINT and hands out the link; Wine 8 does
// not: it opens what a file link leads to and reports the link as a plain
// file. So every open is checked: the object opened must be the entry the
// path names in its own folder, or it is not touched at all.
class EntryOpener {
  public:
    static constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

    enum class Result { kItself, kElsewhere, kFailed };

    // Opens `apiPath` (see ApiPath) with `access` plus the right to read
    // attributes, without following a last-component link; folders only
    // with `folders`. kFailed with the system's `error` when it cannot be
    // opened; kElsewhere (handle closed) when what opened is not the entry
    // itself. Raises 75 when that cannot be told, or for a drive root.
    Result Open(const std::wstring& apiPath, DWORD access, DWORD share, bool folders,
                UniqueFileHandle& handle, DWORD& error);

    // The attributes of an open handle; raises on failure.
    static DWORD Attributes(HANDLE handle);

    // Folders may have changed: names learnt so far are dropped.
    void Forget() { parentPath_.clear(); }

  private:
    // The object's own name as the system keeps it; false when unknown.
    bool ObjectName(HANDLE handle, std::wstring& name);
    bool ParentName(const std::wstring& parent, std::wstring& name);
    bool IsItself(HANDLE handle, const std::wstring& apiPath);

    std::wstring parentPath_, parentName_;  // the last folder asked about
    std::vector<unsigned char> buffer_;
};

}  // namespace vw::win32
