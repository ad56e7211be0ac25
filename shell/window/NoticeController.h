#pragma once

// The notice about the profile: shown in every window, from the moment it opens, for as long as the
// profile has something to say (it cannot be written this run, or a damaged file was set aside), in
// the current language. Dismissing it in one window takes it away from all of them for the run.

#include "glib/Connection.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

class NoticeBarView;
class WindowContext;

class NoticeController {
public:
    explicit NoticeController(WindowContext& context);
    ~NoticeController();
    NoticeController(const NoticeController&) = delete;
    NoticeController& operator=(const NoticeController&) = delete;

    // Shows, words again or takes away the band as the profile's notice now stands.
    void refresh();
    // Takes the notice away from every window.
    void dismiss();
    // The band's text; none while no band is shown.
    [[nodiscard]] std::optional<std::string> text() const;
    [[nodiscard]] NoticeBarView* view() const { return m_view.get(); }

private:
    WindowContext& m_context;
    std::unique_ptr<NoticeBarView> m_view;
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
