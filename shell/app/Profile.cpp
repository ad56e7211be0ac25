#include "app/Profile.h"

#include "glib/Source.h"
#include "storage/InMemoryStore.h"
#include "storage/QueuedStore.h"
#include "storage/SqliteStore.h"

#include <glib.h>

namespace nimb {

namespace {

// How long the start waits for another program holding the store before opening it read-only.
constexpr int startWaitMilliseconds = 1000;
// How long quitting waits for the writes still in the queue.
constexpr std::chrono::milliseconds finishWait{2000};

} // namespace

Profile::Profile(const UserDirectories& directories) {
    (void)directories.create(); // a directory that cannot be made shows as a store that cannot be opened
    const std::string path = directories.preferencesFile();
    SqliteStore::Options options;
    options.busyTimeoutMilliseconds = startWaitMilliseconds;
    std::string error;
    auto database = SqliteStore::open(path, options, &error);
    if (!database) {
        g_printerr("nimb: cannot open the preferences (%s: %s); nothing will be kept after this run\n",
                   path.c_str(), error.c_str());
        m_notice = Notice{Notice::Kind::unavailable, path};
        m_preferences = std::make_unique<Preferences>(std::make_unique<InMemoryStore>());
        return;
    }
    if (const auto& readOnly = database->readOnly()) {
        g_printerr("nimb: the preferences are read-only this run (%s)\n", readOnly->detail.c_str());
        m_notice = Notice{
            readOnly->why == WriteOutcome::Kind::locked ? Notice::Kind::inUse : Notice::Kind::readOnly, path};
    } else if (const auto& aside = database->setAside()) {
        m_notice = Notice{Notice::Kind::setAside, *aside};
    }

    auto queue = std::make_unique<QueuedStore>(std::move(database), QueuedStore::Options{glib::post});
    m_queue = queue.get();
    m_queue->setBlockedListener([this, path](bool held) {
        if (held && !m_held)
            g_printerr("nimb: another program holds %s; changes wait to be saved\n", path.c_str());
        m_held = held;
        if (onHeld) onHeld(held);
    });
    m_queue->setFailureListener([this](const WriteOutcome& outcome) {
        if (onFailure) onFailure(outcome);
    });
    m_preferences = std::make_unique<Preferences>(std::move(queue));
}

Profile::~Profile() {
    if (std::size_t left = finish(finishWait))
        g_printerr("nimb: %zu changes to the preferences could not be saved\n", left);
}

std::uint64_t Profile::writesAsked() const {
    return m_queue ? m_queue->asked() : 0;
}

std::size_t Profile::unsaved() const {
    return m_queue ? m_queue->waiting() : 0;
}

std::size_t Profile::finish(std::chrono::milliseconds limit) {
    return m_queue ? m_queue->finish(limit) : 0;
}

} // namespace nimb
