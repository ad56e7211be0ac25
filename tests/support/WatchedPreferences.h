#pragma once

// Preferences over an in-memory store that remembers which keys were written, for the tests of the
// record operations: a test can look at what was stored, and tell "nothing written".

#include "preferences/Preferences.h"
#include "storage/InMemoryStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nimb::test {

class WatchedStore final : public KeyValueStore {
public:
    std::optional<std::string> string(std::string_view key) override { return m_inner.string(key); }
    std::optional<bool> boolean(std::string_view key) override { return m_inner.boolean(key); }
    std::optional<Pairs> pairs(std::string_view key) override { return m_inner.pairs(key); }

    // The keys written, in order, and the writes, each a list of the keys it wrote together.
    std::vector<std::string> written;
    std::vector<std::vector<std::string>> writes;

protected:
    WriteOutcome commit(const Changes& changes) override {
        writes.emplace_back();
        for (const Change& change : changes) {
            written.push_back(change.key);
            writes.back().push_back(change.key);
        }
        return m_inner.write(changes);
    }

private:
    InMemoryStore m_inner;
};

class WatchedPreferences : public ::testing::Test {
protected:
    WatchedPreferences() {
        auto store = std::make_unique<WatchedStore>();
        m_store = store.get();
        m_prefs = std::make_unique<Preferences>(std::move(store));
    }

    Preferences& prefs() { return *m_prefs; }
    WatchedStore& store() { return *m_store; }

private:
    WatchedStore* m_store = nullptr;
    std::unique_ptr<Preferences> m_prefs;
};

} // namespace nimb::test
