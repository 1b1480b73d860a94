#include "card/ReaderSdk.h"

#include <cstddef>

namespace kx {

namespace {

std::array<ModelSdk, kReaderModelNames.size()> gSdkByModel{};

}  // namespace

std::optional<ReaderModel> ModelFromName(std::string_view name) {
    for (std::size_t i = 0; i < kReaderModelNames.size(); ++i) {
        if (name == kReaderModelNames[i]) {
            return static_cast<ReaderModel>(i);
        }
    }
    return std::nullopt;
}

const ModelSdk& ReaderSdkOf(ReaderModel model) {
    return gSdkByModel[static_cast<std::size_t>(model)];
}

void InstallReaderSdk(ReaderModel model, const ModelSdk& sdk) {
    gSdkByModel[static_cast<std::size_t>(model)] = sdk;
}

void ClearReaderSdk() {
    gSdkByModel.fill(ModelSdk{});
}

}  // namespace kx
