#pragma once

// Preferences over the in-memory store or over a SQLite store in a fresh directory: the fixture of the
// suites that run one scenario against both stores, instantiated with `test::storeName`.

#include "TemporaryDirectory.h"
#include "preferences/Preferences.h"
#include "storage/InMemoryStore.h"
#include "storage/SqliteStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace nimb::test {

// Runs on the in-memory store (false) or the SQLite store (true).
class EitherStore : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        std::unique_ptr<KeyValueStore> store;
        if (GetParam())
            store = SqliteStore::open(m_directory.file("preferences.sqlite"));
        else
            store = std::make_unique<InMemoryStore>();
        ASSERT_TRUE(store);
        m_store = store.get();
        m_prefs = std::make_unique<Preferences>(std::move(store));
    }

    Preferences& prefs() { return *m_prefs; }
    KeyValueStore& store() { return *m_store; }

private:
    TemporaryDirectory m_directory;
    KeyValueStore* m_store = nullptr;
    std::unique_ptr<Preferences> m_prefs;
};

inline std::string storeName(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "Sqlite" : "InMemory";
}

} // namespace nimb::test
