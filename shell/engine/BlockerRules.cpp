#include "engine/BlockerRules.h"

#include "app/UserDirectories.h"
#include "blocker/ContentBlocker.h"

#include <utility>

namespace nimb {

struct BlockerRules::State {
    StoreSource source;
    Log log;
    List list;
    std::vector<Callback> waiting;
    bool working = false;
};

namespace {

// Carries a C++ callable through a GAsyncReadyCallback.
template <class F>
void* box(F function) {
    return new F(std::move(function));
}

template <class F>
std::unique_ptr<F> unbox(gpointer data) {
    return std::unique_ptr<F>(static_cast<F*>(data));
}

class WebKitStore final : public BlockerRules::Store {
public:
    explicit WebKitStore(const std::string& directory)
        : m_store(glib::adoptGRef(webkit_user_content_filter_store_new(directory.c_str()))) {}

    void lookUp(const std::string& identifier, std::function<void(BlockerRules::List)> done) override {
        using Done = std::function<void(BlockerRules::List)>;
        webkit_user_content_filter_store_load(
            m_store.get(), identifier.c_str(), nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto finish = unbox<Done>(data);
                GError* error = nullptr;
                auto* filter = webkit_user_content_filter_store_load_finish(
                    WEBKIT_USER_CONTENT_FILTER_STORE(source), result, &error);
                if (error) g_error_free(error);
                (*finish)(BlockerRules::List(filter ? glib::adoptGRef(filter) : BlockerRules::List()));
            },
            box<Done>(std::move(done)));
    }

    void compile(const std::string& identifier, const std::string& ruleList,
                 std::function<void(BlockerRules::List, std::string)> done) override {
        using Done = std::function<void(BlockerRules::List, std::string)>;
        auto bytes = glib::adoptGRef(g_bytes_new(ruleList.data(), ruleList.size()));
        webkit_user_content_filter_store_save(
            m_store.get(), identifier.c_str(), bytes.get(), nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto finish = unbox<Done>(data);
                GError* error = nullptr;
                auto* filter = webkit_user_content_filter_store_save_finish(
                    WEBKIT_USER_CONTENT_FILTER_STORE(source), result, &error);
                std::string message;
                if (error) {
                    message = error->message ? error->message : "";
                    g_error_free(error);
                }
                if (!filter && message.empty()) message = "the engine gave no list";
                (*finish)(filter ? glib::adoptGRef(filter) : BlockerRules::List(), message);
            },
            box<Done>(std::move(done)));
    }

    void identifiers(std::function<void(std::optional<std::vector<std::string>>)> done) override {
        using Done = std::function<void(std::optional<std::vector<std::string>>)>;
        webkit_user_content_filter_store_fetch_identifiers(
            m_store.get(), nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto finish = unbox<Done>(data);
                gchar** names = webkit_user_content_filter_store_fetch_identifiers_finish(
                    WEBKIT_USER_CONTENT_FILTER_STORE(source), result);
                if (!names) {
                    (*finish)(std::nullopt);
                    return;
                }
                std::vector<std::string> list;
                for (gchar** name = names; *name; ++name)
                    list.emplace_back(*name);
                g_strfreev(names);
                (*finish)(std::move(list));
            },
            box<Done>(std::move(done)));
    }

    void remove(const std::string& identifier) override {
        webkit_user_content_filter_store_remove(
            m_store.get(), identifier.c_str(), nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer) {
                GError* error = nullptr;
                webkit_user_content_filter_store_remove_finish(WEBKIT_USER_CONTENT_FILTER_STORE(source),
                                                               result, &error);
                if (error) g_error_free(error);
            },
            nullptr);
    }

private:
    glib::GRefPtr<WebKitUserContentFilterStore> m_store;
};

} // namespace

BlockerRules::BlockerRules(StoreSource source, Log log) : m_state(std::make_shared<State>()) {
    m_state->source = std::move(source);
    m_state->log = std::move(log);
}

BlockerRules::~BlockerRules() = default;

BlockerRules& BlockerRules::shared() {
    static BlockerRules* rules = new BlockerRules([]() -> std::shared_ptr<Store> {
        static std::shared_ptr<Store> store;
        if (!store) {
            auto directories = UserDirectories::fromEnvironment();
            if (!directories.create()) return nullptr;
            store = webKitStore(directories.contentFilters());
        }
        return store;
    });
    return *rules;
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
    std::string id = ContentBlocker::identifier();
    std::weak_ptr<State> weak = m_state;
    store->lookUp(id, [weak, store, id](List found) {
        auto self = weak.lock();
        if (!self) return;
        if (found) {
            finish(self, std::move(found));
            return;
        }
        store->compile(id, ContentBlocker::ruleListJSON(),
                       [weak, store, id](List compiled, std::string error) {
                           auto alive = weak.lock();
                           if (!alive) return;
                           if (!compiled && alive->log)
                               alive->log("NIMB: blocklist did not compile: " + error);
                           finish(alive, std::move(compiled));
                           discardOldLists(id, store);
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

void BlockerRules::discardOldLists(const std::string& keeping, const std::shared_ptr<Store>& store) {
    store->identifiers([keeping, store](std::optional<std::vector<std::string>> identifiers) {
        if (!identifiers) return;
        for (const auto& identifier : *identifiers) {
            if (identifier.starts_with(ContentBlocker::identifierPrefix) && identifier != keeping)
                store->remove(identifier);
        }
    });
}

} // namespace nimb
