// The JSON scene reader on any bytes: it loads them or refuses them with an
// InputError (scene_loading.h).
#include "scene_loading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::LoadSceneBytes(data, size, ".json");
  return 0;
}
