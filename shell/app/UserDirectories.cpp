#include "app/UserDirectories.h"

#include <glib.h>

namespace nimb {

UserDirectories UserDirectories::fromEnvironment() {
    // GLib reads XDG_DATA_HOME and XDG_CACHE_HOME, falling back to ~/.local/share and ~/.cache.
    return {std::string(g_get_user_data_dir()) + "/nimb", std::string(g_get_user_cache_dir()) + "/nimb"};
}

bool UserDirectories::create() const {
    bool ok = true;
    for (const std::string& path : {data, cache, webKitData(), webKitCache(), contentFilters()}) {
        // Made user-only; one that exists keeps the mode its owner gave it.
        if (g_mkdir_with_parents(path.c_str(), 0700) != 0) ok = false;
    }
    return ok;
}

} // namespace nimb
