#pragma once

// The compiled content rule list. Compiling the blocklist is slow, so the compiled list is kept in
// the engine's persistent filter store under the blocklist's identifier and reused on later runs.
// BlockerRules obtains it once per process (from the store, or by compiling), hands it to everyone
// who asked while it was working, in the order they asked, and removes lists that earlier versions
// of the blocklist left in the store.
//
// The store is reached through four operations (look up, compile, list identifiers, remove), so the
// decisions here can be tested against a store of any kind; webKitStore() is the engine's own.

#include "blocker/ContentBlocker.h"
#include "glib/GRefPtr.h"

#include <webkit/webkit.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

class BlockerRules {
public:
    using List = glib::GRefPtr<WebKitUserContentFilter>;
    // Receives the compiled list, or none (nullptr) when it could not be had.
    using Callback = std::function<void(WebKitUserContentFilter*)>;

    // A store of compiled rule lists. Each operation calls back exactly once, on the main thread.
    class Store {
    public:
        virtual ~Store() = default;
        // The list stored under the identifier, or none (an error counts as none).
        virtual void lookUp(const std::string& identifier, std::function<void(List)> done) = 0;
        // Compiles and stores the rule list under the identifier: the list, or none with the error's
        // description.
        virtual void compile(const std::string& identifier, const std::string& ruleList,
                             std::function<void(List, std::string error)> done) = 0;
        // Every identifier the store holds, or none.
        virtual void identifiers(std::function<void(std::optional<std::vector<std::string>>)> done) = 0;
        // Removes one list; the outcome is not reported.
        virtual void remove(const std::string& identifier) = 0;
    };

    // Gives the store to use, or none while there is no store to be had.
    using StoreSource = std::function<std::shared_ptr<Store>()>;
    // Where the one line about a failed compile goes.
    using Log = std::function<void(const std::string&)>;

    // Holds the compiled form of one set of rules.
    explicit BlockerRules(StoreSource source, Log log = systemLog,
                          ContentBlocker::RuleSet set = ContentBlocker::RuleSet::everything);
    ~BlockerRules();
    BlockerRules(const BlockerRules&) = delete;
    BlockerRules& operator=(const BlockerRules&) = delete;

    // The process-wide instance for a set of rules, over the engine's store in UserDirectories'
    // content-filter directory. Created on first use.
    static BlockerRules& shared(ContentBlocker::RuleSet set = ContentBlocker::RuleSet::everything);
    // The engine's filter store in `directory`.
    [[nodiscard]] static std::shared_ptr<Store> webKitStore(const std::string& directory);
    static void systemLog(const std::string& line);

    // Asks for the compiled list. The callback runs exactly once: at once when the list is at hand,
    // otherwise when the current attempt, or a later one, ends.
    void load(Callback callback);

    // The compiled list once obtained; none before, and again after a failed compile.
    [[nodiscard]] WebKitUserContentFilter* list() const;
    // A look-up or compile is under way.
    [[nodiscard]] bool working() const;

private:
    struct State;
    static void finish(const std::shared_ptr<State>& state, List list);
    static void discardOldLists(const std::shared_ptr<Store>& store);

    std::shared_ptr<State> m_state;
};

} // namespace nimb
