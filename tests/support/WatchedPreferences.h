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
    void set(std::string_view key, std::string_view value) override { note(key), m_inner.set(key, value); }
    void set(std::string_view key, bool value) override { note(key), m_inner.set(key, value); }
    void set(std::string_view key, const Pairs& value) override { note(key), m_inner.set(key, value); }
    using KeyValueStore::set;

    // The keys written, in order.
    std::vector<std::string> written;

private:
    void note(std::string_view key) { written.emplace_back(key); }
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
