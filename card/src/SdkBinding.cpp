#include "card/SdkBinding.h"

#include <array>
#include <span>
#include <string>
#include <type_traits>

#include "DynamicLibrary.h"
#include "card/ReaderSdk.h"

namespace kx {

namespace {

#ifdef _WIN32
constexpr const char* kLibrarySuffix = ".dll";
#else
constexpr const char* kLibrarySuffix = ".so";
#endif

// One SDK function, the operation that needs it, and the slot it fills.
struct SdkFunction {
    ReaderOp op;
    const char* name;
    void (*store)(ModelSdk& sdk, RawFunction function);
};

template <auto Slot>
void Store(ModelSdk& sdk, RawFunction function) {
    sdk.*Slot = reinterpret_cast<std::remove_reference_t<decltype(sdk.*Slot)>>(function);
}

// KXD100 and KXD104: rf_ libraries that can only beep and close.
constexpr SdkFunction kRfBeepExitFunctions[] = {
    {opBeep, "rf_beep", Store<&ModelSdk::beep>},
    {opExit, "rf_exit", Store<&ModelSdk::exit>},
};

constexpr SdkFunction kRfCardFunctions[] = {
    {opInit, "rf_init", Store<&ModelSdk::rf_init>},
    {opBeep, "rf_beep", Store<&ModelSdk::beep>},
    {opCard, "rf_request", Store<&ModelSdk::rf_request>},
    {opCard, "rf_anticoll", Store<&ModelSdk::rf_anticoll>},
    {opCard, "rf_select", Store<&ModelSdk::rf_select>},
    {opLoadKey, "rf_load_key", Store<&ModelSdk::load_key>},
    {opAuthentication, "rf_authentication", Store<&ModelSdk::authentication>},
    {opRead, "rf_read", Store<&ModelSdk::read>},
    {opReadVal, "rf_readval", Store<&ModelSdk::readval>},
    {opDecrement, "rf_decrement", Store<&ModelSdk::decrement>},
    {opIncrement, "rf_increment", Store<&ModelSdk::increment>},
    {opHalt, "rf_halt", Store<&ModelSdk::halt>},
    {opExit, "rf_exit", Store<&ModelSdk::exit>},
};

constexpr SdkFunction kQzBeepExitFunctions[] = {
    {opBeep, "qz_beep", Store<&ModelSdk::beep>},
    {opExit, "qz_exit", Store<&ModelSdk::exit>},
};

constexpr SdkFunction kDcCardFunctions[] = {
    {opInit, "dc_init", Store<&ModelSdk::dc_init>},
    {opBeep, "dc_beep", Store<&ModelSdk::beep>},
    {opCard, "dc_card", Store<&ModelSdk::dc_card>},
    {opLoadKey, "dc_load_key", Store<&ModelSdk::load_key>},
    {opAuthentication, "dc_authentication", Store<&ModelSdk::authentication>},
    {opRead, "dc_read", Store<&ModelSdk::read>},
    {opReadVal, "dc_readval", Store<&ModelSdk::readval>},
    {opDecrement, "dc_decrement", Store<&ModelSdk::decrement>},
    {opIncrement, "dc_increment", Store<&ModelSdk::increment>},
    {opHalt, "dc_halt", Store<&ModelSdk::halt>},
    {opExit, "dc_exit", Store<&ModelSdk::exit>},
};

std::span<const SdkFunction> FunctionsOf(ReaderModel model) {
    switch (model) {
        case ReaderModel::KXD101:
            return kRfCardFunctions;
        case ReaderModel::KXD102:
            return kQzBeepExitFunctions;
        case ReaderModel::KXD103:
            return kDcCardFunctions;
        case ReaderModel::KXD100:
        case ReaderModel::KXD104:
            break;
    }
    return kRfBeepExitFunctions;
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

ModelSdk BindModel(const std::filesystem::path& libraryFolder, ReaderModel model, ReaderOps ops) {
    const auto name = kReaderModelNames[static_cast<std::size_t>(model)];
    const std::filesystem::path path = libraryFolder / (std::string(name) + kLibrarySuffix);
    std::string reason;
    void* library = LoadLibraryForever(path, reason);
    if (library == nullptr) {
        throw SdkBindError("Cannot load the reader library \"" + PathText(path) + "\": " + reason);
    }
    ModelSdk sdk;
    for (const SdkFunction& function : FunctionsOf(model)) {
        if ((ops & function.op) == 0) {
            continue;
        }
        const RawFunction found = FindLibraryFunction(library, function.name);
        if (found == nullptr) {
            throw SdkBindError("The reader library \"" + PathText(path) + "\" has no function " +
                               function.name);
        }
        function.store(sdk, found);
    }
    return sdk;
}

}  // namespace

void BindReaderSdk(const std::filesystem::path& programFolder, ReaderOps ops) {
    const std::filesystem::path libraryFolder = programFolder / "LibaryDir";
    // All five bind before any is installed, so a failure leaves the table as it was.
    std::array<ModelSdk, kReaderModelNames.size()> bound;
    for (std::size_t i = 0; i < bound.size(); ++i) {
        bound[i] = BindModel(libraryFolder, static_cast<ReaderModel>(i), ops);
    }
    for (std::size_t i = 0; i < bound.size(); ++i) {
        InstallReaderSdk(static_cast<ReaderModel>(i), bound[i]);
    }
}

}  // namespace kx
