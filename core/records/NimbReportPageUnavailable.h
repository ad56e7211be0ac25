#pragma once

namespace nimb::NimbReportPage {

// Why there is no report to show; the shell decides.
enum class Unavailable {
    recordingOff,
    scriptingOff,
    localPage,
    notRecorded,
};

} // namespace nimb::NimbReportPage
