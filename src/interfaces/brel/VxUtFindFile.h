#pragma once
// The product's support path: where shared files (pictures, templates) are looked up by name.

#include <string>

// Looks `name` up along the support path: the folders of SOLX_SUPPORT_PATH (separated by ':'),
// then the folder of SOLX_RESOURCES, then the source tree's resources/. True with the full
// path in `path` when a regular file of that name is found.
bool FindFile(const wchar_t* name, std::wstring& path);
