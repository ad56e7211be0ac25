#pragma once

// What every page the browser writes for itself shares: the typefaces and the palette, the document
// prologue with its colour-scheme rule and font faces, the palette and type stacks as CSS custom
// properties, and the one escaping of text put into a page.
//
// A page's style element holds, in this order:
//
//   colorSchemeRule, fontFaces           ":root { color-scheme: dark; }" and the two Fira Sans faces
//   "body { ... }"                       the body's ground, ink and sans stack
//   a :root rule declaring `properties`  "--text:#e9e9eb;" ... "--mono:..."
//   the page's own sheet                 one of PageStyles (below), which takes every colour and type
//                                        stack from those properties as var(--name)
//
// `styleSheet(rules)` is that text; `document(title, rules, body)` puts it in a whole page. The
// prologue (doctype, title, colour-scheme rule, font faces, the start of the body rule) is the same
// text on every page: `prologue(title)`.

#include <array>
#include <string>
#include <string_view>

namespace nimb {

// The type stacks of generated pages, and the families the drawn chrome tries for its own text.
namespace Typeface {

inline constexpr std::string_view family = "Fira Sans";
// The font-family of every page's body and headings.
inline constexpr std::string_view sans =
    "\"Fira Sans\", \"Inter\", \"IBM Plex Sans\", \"Source Sans 3\", system-ui, -apple-system, "
    "\"Segoe UI\", sans-serif";
// Addresses, keys and code. "DejaVu Sans Mono" stands before "Courier New": on a Linux desktop without
// the first families, fontconfig answers "Courier New" with a thin Courier clone that is hard to read
// small and grey on black, while DejaVu Sans Mono is nearly always there. A style sheet that sets text
// in this stack also turns ligatures off (font-variant-ligatures:none), or "fi" and "ffl" in host and
// key names run together.
inline constexpr std::string_view mono =
    "ui-monospace, SFMono-Regular, Menlo, Monaco, Consolas, \"Liberation "
    "Mono\", \"DejaVu Sans Mono\", \"Courier New\", monospace";
// Tried in this order by the chrome; the first that loads at 12 points wins.
inline constexpr std::array<std::string_view, 4> candidates{"Fira Sans", "Inter", "IBM Plex Sans",
                                                            "Source Sans 3"};

} // namespace Typeface

// The only colours generated pages use; the ground is always dark.
namespace Palette {

inline constexpr std::string_view background = "#000000";  // body
inline constexpr std::string_view text = "#e9e9eb";        // text, headings, title rule, button text
inline constexpr std::string_view secondary = "#8e8e93";   // subtitles, addresses, dates, notes, empty lines
inline constexpr std::string_view separator = "#3a3a3c";   // separators, borders, pressed buttons
inline constexpr std::string_view raised = "#1f1f21";      // button and code backgrounds
inline constexpr std::string_view sunken = "#121214";      // fields being typed in
inline constexpr std::string_view placeholder = "#5a5a5f"; // placeholder text of fields
inline constexpr std::string_view link = "#7aa2ff";
inline constexpr std::string_view visited = "#b79ce8";

} // namespace Palette

namespace PageFrame {

// The start of a document's head, before the page's title.
inline constexpr std::string_view doctype = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
// After the title: opens the style sheet.
inline constexpr std::string_view titleEnd = "</title>\n<style>\n";
// The first rule of every style sheet, so that the view's scroll bars and overscroll are dark too.
inline constexpr std::string_view colorSchemeRule =
    "  /* These pages are painted dark to match the chrome, but the view\n"
    "     they load into follows the system \u2014 so say so, or the scrollbar\n"
    "     and the rubber-band past the end of the page arrive white. */\n"
    "  :root { color-scheme: dark; }\n";
// The regular (400) and medium (500) faces, served through the asset scheme. The medium face also
// answers for every bolder weight, so that bold text (headings, <b>) is drawn with real glyphs rather
// than smeared by the engine from the regular face.
inline constexpr std::string_view fontFaces =
    "  @font-face { font-family:\"Fira Sans\"; font-weight:400; font-style:normal;\n"
    "               src:url(nimb-asset:/FiraSans-Regular.ttf) format(\"truetype\"); }\n"
    "  @font-face { font-family:\"Fira Sans\"; font-weight:500 900; font-style:normal;\n"
    "               src:url(nimb-asset:/FiraSans-Medium.ttf) format(\"truetype\"); }";
// Closes the style sheet and the head, and opens the body.
inline constexpr std::string_view headEnd = "</style></head><body>";

// A CSS custom property every page declares: "--" + name.
struct Property {
    std::string_view name;
    std::string_view value;

    bool operator==(const Property&) const = default;
};

// The palette and the type stacks, as the properties the pages' style sheets read them from.
inline constexpr std::array<Property, 11> properties{{
    {"background", Palette::background},
    {"text", Palette::text},
    {"secondary", Palette::secondary},
    {"separator", Palette::separator},
    {"raised", Palette::raised},
    {"sunken", Palette::sunken},
    {"placeholder", Palette::placeholder},
    {"link", Palette::link},
    {"visited", Palette::visited},
    {"sans", Typeface::sans},
    {"mono", Typeface::mono},
}};

// The prologue: doctype, the escaped title, the colour-scheme rule, the font faces and the opening of
// the body rule, "\n  body { background:#000000; color:#e9e9eb; font-family:" and the sans stack.
// Every page begins with it.
[[nodiscard]] std::string prologue(std::string_view title);

// The text of a page's style element: the colour-scheme rule, the font faces, the body rule, the :root
// rule declaring `properties`, then `rules` (the page's own sheet).
[[nodiscard]] std::string styleSheet(std::string_view rules);

// A page's head, from `prologue(title)` through the style sheet of `rules` to `headEnd`.
void appendHead(std::string& out, std::string_view title, std::string_view rules);

// A whole document: the head of `title` and `rules`, then `body`.
[[nodiscard]] std::string document(std::string_view title, std::string_view rules, std::string_view body);

// Whether a page may link to `address`: it parses, and its scheme (in any case) is http, https or file.
[[nodiscard]] bool isNavigable(std::string_view address);
// Whether `address` parses and its scheme (in any case) is http or https.
[[nodiscard]] bool isWeb(std::string_view address);

} // namespace PageFrame

// The pages' own style sheets: the .css files of core/pages/styles, embedded at build time
// (cmake/EmbedText.cmake), each without its final line break. Each goes into `PageFrame::styleSheet`
// and takes every colour and type stack from `PageFrame::properties` as var(--name); the build refuses
// a sheet that writes a hex colour of its own.
namespace PageStyles {

extern const std::string_view home;
extern const std::string_view history;
extern const std::string_view bookmarks;
extern const std::string_view marginalia;
extern const std::string_view savedReports;
// The page of a load that failed.
extern const std::string_view failed;
// The report page in the tab (overview and dossier view) and in the shield's popover; both follow
// the heat scale's rules (Dossier::heatScaleStyle).
extern const std::string_view report;
extern const std::string_view panel;
// The heat scale under a report's score; its ramp is the property --heat-ramp.
extern const std::string_view heatScale;

} // namespace PageStyles

namespace BookmarksPage {

// Text made safe to place in a page, in an element or in a quoted attribute: & < > " ' become
// "&amp;" "&lt;" "&gt;" "&quot;" "&#39;"; everything else is copied.
[[nodiscard]] std::string escape(std::string_view text);
void appendEscaped(std::string& out, std::string_view text);

} // namespace BookmarksPage

} // namespace nimb
