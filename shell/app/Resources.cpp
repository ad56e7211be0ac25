#include "app/Resources.h"

#include "engine/AssetSchemeHandler.h"
#include "pages/AssetScheme.h"

#include <system_error>

namespace nimb::Resources {

std::filesystem::path installedDataDirectory(const std::filesystem::path& executable) {
    return executable.parent_path().parent_path() / "share" / "nimb";
}

std::filesystem::path fontsDirectory() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        auto installed = installedDataDirectory(executable) / std::string(AssetScheme::directory);
        if (std::filesystem::is_directory(installed, error)) return installed;
    }
    return AssetSchemeHandler::fontsDirectory();
}

std::filesystem::path witnessDirectory() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        auto installed = executable.parent_path().parent_path() / "lib" / "nimb" / "web-process-extensions";
        if (std::filesystem::exists(installed / "libnimbwitness.so", error)) return installed;
    }
    return NIMB_WITNESS_DIR;
}

std::filesystem::path iconDirectory() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        auto installed =
            executable.parent_path().parent_path() / "share" / "icons" / "hicolor" / "scalable" / "apps";
        if (std::filesystem::exists(installed / (std::string(iconName) + ".svg"), error)) return installed;
    }
    return NIMB_RESOURCES_DIR;
}

} // namespace nimb::Resources
