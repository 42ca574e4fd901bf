// The product name and version texts that exports carry.
#pragma once

namespace varnock {

inline constexpr const char* kProductName = "Varnock";
// The version text of documents and page headers ("Varnock v17 Portable").
inline constexpr const char* kDocumentVersionText = "17 Portable";
// The version of this build.
const char* BuildVersionText();

}  // namespace varnock
