#pragma once

#include "report/Dossier.h"

#include <gtest/gtest.h>

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

} // namespace nimb::test
