#include "openings/EcoDatabase.h"

#include <new>
#include <string>

#include "core/Format.h"
#include "openings/SMemCompress.h"

namespace varnock {

namespace {

constexpr const char* kCaption = "StartECODatabase()";

}  // namespace

bool EcoDatabase::Start(const ResourceBytes* resource, UserPrompt& prompt) {
  if (tried_) return Available();
  tried_ = true;
  if (resource == nullptr) {
    prompt.Inform(kCaption, "FindResource() could not find ECO database");
    return false;
  }
  if (resource->data == nullptr) {
    prompt.Inform(kCaption, "LoadResource() could not load ECO database");
    return false;
  }

  std::string text;
  {
    SMemCompress codec;
    if (int error = codec.Expand({resource->data, resource->size}, text); error != kCodecOk) {
      prompt.Inform(kCaption, CodecErrorText(error));
      return false;
    }
  }
  const std::size_t length = text.size();
  try {
    table_ = std::make_unique<EcoTable>(std::move(text));
  } catch (const std::bad_alloc&) {
    table_.reset();
    prompt.Inform(kCaption,
                  Format("Unable to allocate memory for ECO database.  Bytes = %d", static_cast<int>(length)));
    return false;
  }
  return true;
}

}  // namespace varnock
