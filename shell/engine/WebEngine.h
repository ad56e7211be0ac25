#pragma once

// What every web view of the browser shares: one persistent network session keeping the engine's data
// under the profile's directories (with every request sent through a proxy when one is given, as the
// tests do, and nothing a page serves ever saved as a download), and one web context that serves the
// typefaces of the browser's own pages through the asset scheme, and the pages themselves through the
// page scheme, and that loads the request witness into each of its web processes.

#include "app/UserDirectories.h"
#include "engine/GeneratedPageScheme.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"

#include <webkit/webkit.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace nimb {

class WebEngine {
public:
    // `witness`: the directory of the request witness; none runs the web processes without it.
    WebEngine(const UserDirectories& directories, const std::optional<std::string>& proxy,
              const std::filesystem::path& fonts, const std::optional<std::filesystem::path>& witness);

    [[nodiscard]] WebKitNetworkSession* session() const { return m_session.get(); }
    [[nodiscard]] WebKitWebContext* context() const { return m_context.get(); }
    // A web view for a page the browser draws beside the window's tabs (the report popover, the
    // margin): content JavaScript off, the asset scheme's typefaces, no ground of its own and no
    // swipes back and forward. A new floating reference, as with every new widget.
    [[nodiscard]] GtkWidget* makeGeneratedPageView() const;
    // Who draws the browser's own pages when a tab's view asks for one (nobody until this is called:
    // the pages are then not found).
    void drawPagesWith(GeneratedPageScheme::Draw draw) { *m_drawPage = std::move(draw); }

    // What every witness does: stop listed requests, count requests. Web processes started later are
    // told when they start; those running are told at once, before anything the window asks of them
    // afterwards (a reload).
    void setWitnessPolicy(bool blocking, bool counting);
    // Whether a witness has greeted a page in this run: its library is loaded by the web processes.
    [[nodiscard]] bool witnessAtWork() const { return m_witnessAtWork; }
    // Records a witness's greeting; true for the first of the run.
    bool witnessGreeted() { return !std::exchange(m_witnessAtWork, true); }

private:
    glib::GRefPtr<WebKitNetworkSession> m_session;
    glib::GRefPtr<WebKitWebContext> m_context;
    glib::Connection m_downloads;
    std::shared_ptr<GeneratedPageScheme::Draw> m_drawPage = std::make_shared<GeneratedPageScheme::Draw>();
    struct Witness {
        std::string directory;
        bool blocking = true;
        bool counting = true;
    };
    // Shared with the context's signal, which may outlive the engine.
    std::shared_ptr<Witness> m_witness;
    glib::Connection m_witnessStarts;
    bool m_witnessAtWork = false;
};

} // namespace nimb
