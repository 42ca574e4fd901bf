#include "render/ProductInfo.h"

#ifndef VARNOCK_VERSION
#define VARNOCK_VERSION "0"
#endif

namespace varnock {

const char* BuildVersionText() { return VARNOCK_VERSION; }

}  // namespace varnock
