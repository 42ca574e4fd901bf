#include "openings/CollectionEco.h"

namespace varnock {

void CollectionEco::ShowLoadErrors() {
  if (!collection_.errors.Empty())
    collection_.errors.Display(collection_.Prompt(), "Varnock", "", collection_.settings.tempFolder);
}

}  // namespace varnock
