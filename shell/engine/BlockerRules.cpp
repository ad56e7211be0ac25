#include "engine/BlockerRules.h"

#include "app/UserDirectories.h"
#include "blocker/ContentBlocker.h"
#include "glib/Async.h"

#include <algorithm>
#include <utility>

namespace nimb {

struct BlockerRules::State {
    StoreSource source;
    ContentBlocker::RuleSet set = ContentBlocker::RuleSet::everything;
    Log log;
    List list;
    std::vector<Callback> waiting;
    bool working = false;
};

namespace {

class WebKitStore final : public BlockerRules::Store {
public:
    explicit WebKitStore(const std::string& directory)
        : m_store(glib::adoptGRef(webkit_user_content_filter_store_new(directory.c_str()))) {}

    void lookUp(const std::string& identifier, std::function<void(BlockerRules::List)> done) override {
        auto call = glib::async(
            [](GObject* source, GAsyncResult* result, GError** error) {
                return glib::adoptGRef(webkit_user_content_filter_store_load_finish(
                    WEBKIT_USER_CONTENT_FILTER_STORE(source), result, error));
            },
            [done = std::move(done)](BlockerRules::List list, const glib::Error&) { done(std::move(list)); });
        webkit_user_content_filter_store_load(m_store.get(), identifier.c_str(), nullptr, call.callback,
                                              call.data);
    }

    void compile(const std::string& identifier, const std::string& ruleList,
                 std::function<void(BlockerRules::List, std::string)> done) override {
        auto bytes = glib::adoptGRef(g_bytes_new(ruleList.data(), ruleList.size()));
        auto call = glib::async(
            [](GObject* source, GAsyncResult* result, GError** error) {
                return glib::adoptGRef(webkit_user_content_filter_store_save_finish(
                    WEBKIT_USER_CONTENT_FILTER_STORE(source), result, error));
            },
            [done = std::move(done)](BlockerRules::List list, const glib::Error& error) {
                std::string message = error.message();
                if (!list && message.empty()) message = "the engine gave no list";
                done(std::move(list), message);
            });
        webkit_user_content_filter_store_save(m_store.get(), identifier.c_str(), bytes.get(), nullptr,
                                              call.callback, call.data);
    }

    void identifiers(std::function<void(std::optional<std::vector<std::string>>)> done) override {
        auto call = glib::async(
            [](GObject* source, GAsyncResult* result, GError**) {
                return glib::GUniquePtr<char*>(webkit_user_content_filter_store_fetch_identifiers_finish(
                    WEBKIT_USER_CONTENT_FILTER_STORE(source), result));
            },
            [done = std::move(done)](glib::GUniquePtr<char*> names, const glib::Error&) {
                if (!names) {
                    done(std::nullopt);
                    return;
                }
                std::vector<std::string> list;
                for (char** name = names.get(); *name; ++name)
                    list.emplace_back(*name);
                done(std::move(list));
            });
        webkit_user_content_filter_store_fetch_identifiers(m_store.get(), nullptr, call.callback, call.data);
    }

    void remove(const std::string& identifier) override {
        // Nothing waits for the outcome.
        webkit_user_content_filter_store_remove(
            m_store.get(), identifier.c_str(), nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer) {
                glib::Error ignored;
                webkit_user_content_filter_store_remove_finish(WEBKIT_USER_CONTENT_FILTER_STORE(source),
                                                               result, ignored.out());
            },
            nullptr);
    }

private:
    glib::GRefPtr<WebKitUserContentFilterStore> m_store;
};

} // namespace

BlockerRules::BlockerRules(StoreSource source, Log log, ContentBlocker::RuleSet set)
    : m_state(std::make_shared<State>()) {
    m_state->source = std::move(source);
    m_state->set = set;
    m_state->log = std::move(log);
}

BlockerRules::~BlockerRules() = default;

BlockerRules& BlockerRules::shared(ContentBlocker::RuleSet set) {
    auto source = []() -> std::shared_ptr<Store> {
        static std::shared_ptr<Store> store;
        if (!store) {
            auto directories = UserDirectories::fromEnvironment();
            if (!directories.create()) return nullptr;
            store = webKitStore(directories.contentFilters());
        }
        return store;
    };
    static BlockerRules* everything =
        new BlockerRules(source, systemLog, ContentBlocker::RuleSet::everything);
    static BlockerRules* besideWitness =
        new BlockerRules(source, systemLog, ContentBlocker::RuleSet::besideWitness);
    return set == ContentBlocker::RuleSet::everything ? *everything : *besideWitness;
}

std::shared_ptr<BlockerRules::Store> BlockerRules::webKitStore(const std::string& directory) {
    return std::make_shared<WebKitStore>(directory);
}

void BlockerRules::systemLog(const std::string& line) {
    g_warning("%s", line.c_str());
}

WebKitUserContentFilter* BlockerRules::list() const {
    return m_state->list.get();
}

bool BlockerRules::working() const {
    return m_state->working;
}

void BlockerRules::load(Callback callback) {
    auto& state = *m_state;
    if (state.list) {
        callback(state.list.get());
        return;
    }
    state.waiting.push_back(std::move(callback));
    if (state.working) return;
    auto store = state.source ? state.source() : nullptr;
    if (!store) return;

    state.working = true;
    std::string id = ContentBlocker::identifier(state.set);
    ContentBlocker::RuleSet set = state.set;
    std::weak_ptr<State> weak = m_state;
    store->lookUp(id, [weak, store, id, set](List found) {
        auto self = weak.lock();
        if (!self) return;
        if (found) {
            finish(self, std::move(found));
            return;
        }
        store->compile(id, ContentBlocker::ruleListJSON(set),
                       [weak, store, id](List compiled, std::string error) {
                           auto alive = weak.lock();
                           if (!alive) return;
                           if (!compiled && alive->log)
                               alive->log("NIMB: blocklist did not compile: " + error);
                           finish(alive, std::move(compiled));
                           discardOldLists(store);
                       });
    });
}

void BlockerRules::finish(const std::shared_ptr<State>& state, List list) {
    state->list = std::move(list);
    state->working = false;
    auto waiting = std::exchange(state->waiting, {});
    for (auto& callback : waiting)
        callback(state->list.get());
}

void BlockerRules::discardOldLists(const std::shared_ptr<Store>& store) {
    store->identifiers([store](std::optional<std::vector<std::string>> identifiers) {
        if (!identifiers) return;
        // Both sets of the blocklist as it is now stay; lists of earlier blocklists go.
        const std::string kept[] = {ContentBlocker::identifier(ContentBlocker::RuleSet::everything),
                                    ContentBlocker::identifier(ContentBlocker::RuleSet::besideWitness)};
        for (const auto& identifier : *identifiers) {
            if (identifier.starts_with(ContentBlocker::identifierPrefix) &&
                std::find(std::begin(kept), std::end(kept), identifier) == std::end(kept))
                store->remove(identifier);
        }
    });
}

} // namespace nimb
