#include "simreader/SdkGate.h"

#include "simreader/Platform.h"

namespace kx::sim {

SdkGate& ThisLibraryGate() {
    static SdkGate gate(ReaderFolder(ThisModuleFolder() / "SimReader"));
    return gate;
}

}  // namespace kx::sim
