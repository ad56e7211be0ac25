#include "app/Profile.h"

#include "storage/InMemoryStore.h"
#include "storage/SqliteStore.h"

#include <glib.h>

namespace nimb {

Profile::Profile(const UserDirectories& directories) {
    (void)directories.create(); // a directory that cannot be made shows as a store that cannot be opened
    std::string error;
    std::unique_ptr<KeyValueStore> store = SqliteStore::open(directories.preferencesFile(), &error);
    if (!store) {
        // Said once here and once in the first window's status line; the run goes on in memory.
        m_problem = directories.preferencesFile() + ": " + error;
        g_printerr("nimb: cannot open the preferences (%s); nothing will be kept after this run\n",
                   m_problem->c_str());
        store = std::make_unique<InMemoryStore>();
    }
    m_preferences = std::make_unique<Preferences>(std::move(store));
}

std::optional<std::string> Profile::takeProblemForStatus() {
    if (m_problemShown || !m_problem) return std::nullopt;
    m_problemShown = true;
    return m_problem;
}

} // namespace nimb
