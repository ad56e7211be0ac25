#pragma once

#include "report/Dossier.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace nimb::test {

// The catalogue entry of a company; its hosts and siblings are the catalogue's to choose, so tests
// take them from it.
inline const Dossier::Entry& entryNamed(std::string_view name) {
    for (const Dossier::Entry& entry : Dossier::entries()) {
        if (entry.company.name == name) return entry;
    }
    ADD_FAILURE() << "no entry named " << name;
    static const Dossier::Entry none;
    return none;
}

// The companies the catalogue describes rather than names ("a standards body"): our own words, said in
// each language like the rest of them.
inline const std::set<std::string_view> describedCompanies = {
    "IAS and DoubleVerify", "Taboola and its competitors", "Yahoo image servers",
    "a standards body",     "push notification vendors",   "various identity vendors",
};

} // namespace nimb::test
