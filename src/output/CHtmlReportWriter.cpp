#include "output/CHtmlReportWriter.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "core/CUtf8.h"
#include "output/CLoomWriter.h"

namespace vellcfgrdr {

namespace {

using Resolution = CHardwareView::Resolution;

// Inline only: the policy below refuses anything fetched, so the page shows
// the same offline, in a mail attachment or on paper.
constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'">
<meta name="viewport" content="width=device-width, initial-scale=1">
)";

constexpr std::string_view kStyle = R"(<style>
:root { --ok: #1b5e20; --ok-bg: #dcedc8; --amb: #8a5a00; --amb-bg: #ffe082;
        --bad: #b71c1c; --bad-bg: #ffcdd2; --line: #90a4ae; }
* { box-sizing: border-box; }
body { font: 14px/1.4 system-ui, sans-serif; color: #212121; margin: 1.5em; }
h1 { font-size: 1.5em; margin: 0 0 .3em; word-break: break-all; }
h2 { font-size: 1.2em; margin: 1.2em 0 .4em; border-bottom: 2px solid var(--line); }
h3 { font-size: 1.05em; margin: .9em 0 .3em; }
dl.facts { display: grid; grid-template-columns: max-content 1fr; gap: .1em 1em; margin: 0; }
dl.facts dt { font-weight: 600; }
dl.facts dd { margin: 0; word-break: break-all; }
table { border-collapse: collapse; margin: .4em 0; }
th, td { border: 1px solid var(--line); padding: .15em .5em; text-align: left; vertical-align: top; }
td.n { text-align: right; font-variant-numeric: tabular-nums; }
.badge { display: inline-block; padding: 0 .4em; border-radius: .3em; border: 1px solid; }
.resolved { background: var(--ok-bg); border-color: var(--ok); color: var(--ok); }
.ambiguous { background: var(--amb-bg); border-color: var(--amb); color: var(--amb); }
.unresolved { background: var(--bad-bg); border-color: var(--bad); color: var(--bad); }
.st-ok { color: var(--ok); } .st-warn { color: var(--amb); } .st-fail { color: var(--bad); }
.legend span { margin-right: .8em; }
.rack { margin: .5em 0 1em; break-inside: avoid; }
.rack-head { margin-bottom: .25em; }
ol.slots { list-style: none; display: flex; flex-wrap: wrap; gap: 3px; padding: 0; margin: 0; }
.slot { position: relative; width: 8em; min-height: 4.6em; border: 2px solid;
        border-radius: 3px; padding: .15em .3em; font-size: .85em; }
.slot .pos { display: block; font-weight: 700; }
.slot .part { display: block; word-break: break-all; }
.slot .type { display: block; font-size: .85em; opacity: .8; }
.slot .mark { position: absolute; top: .1em; right: .3em; }
.slot.empty { border: 2px dashed var(--line); color: #9e9e9e; background: #fafafa; }
.slot.gap { border: 0; width: 2em; display: flex; align-items: center; justify-content: center; }
.slot .cands { display: none; position: absolute; z-index: 2; left: 0; top: 100%; min-width: 12em;
        background: #fff; color: #212121; border: 1px solid var(--amb); padding: .3em;
        box-shadow: 0 2px 6px rgba(0,0,0,.3); }
.slot .cands ul, .badge .cands ul { margin: 0; padding-left: 1.2em; }
.slot:hover .cands, .slot:focus .cands { display: block; }
.badge .cands { display: none; }
.badge:hover .cands, .badge:focus .cands { display: block; position: absolute; background: #fff;
        color: #212121; border: 1px solid var(--amb); padding: .3em; z-index: 2; }
.msg-error td.lvl { color: var(--bad); font-weight: 700; }
.msg-warning td.lvl { color: var(--amb); font-weight: 700; }
td.text { word-break: break-word; }
@page { size: A4; margin: 12mm; }
@media print {
  body { margin: 0; font-size: 9pt; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  section.messages { break-before: page; }
  h2, h3, .rack-head { break-after: avoid; }
  .slot { width: 6.6em; }
  .slot .cands, .badge .cands { display: block; position: static; box-shadow: none;
        border: 0; padding: 0; min-width: 0; background: none; }
  thead { display: table-header-group; }
  tr { break-inside: avoid; }
}
</style>
</head>
<body>
)";

const char* Mark(Resolution r) {
    switch (r) {
        case Resolution::resolved:
            return "\u2713";
        case Resolution::ambiguous:
            return "?";
        case Resolution::unresolved:
            break;
    }
    return "\u2717";
}

const char* StatusClass(int32_t status, bool raised) {
    if (raised) return "st-fail";
    if (status == eReadOk) return "st-ok";
    return status == eReadWarnings ? "st-warn" : "st-fail";
}

std::string Candidates(const CHardwareView::Part& part) {
    if (part.candidates.empty()) return {};
    std::string out = "<span class=\"cands\">candidates:<ul>";
    for (const std::string& c : part.candidates)
        out.append("<li>").append(CHtmlReportWriter::Escape(c)).append("</li>");
    return out + "</ul></span>";
}

std::string CandidatesTitle(const CHardwareView::Part& part) {
    std::string title;
    for (const std::string& c : part.candidates)
        title.append(title.empty() ? "candidates: " : ", ").append(c);
    return title.empty() ? std::string() : " title=\"" + CHtmlReportWriter::Escape(title) + "\"";
}

// The part name in its resolution's colour, for the PLC and the racks.
std::string Badge(const CHardwareView::Part& part) {
    const char* res = CHardwareView::ResolutionName(part.resolution);
    std::string out = std::string("<span class=\"badge ") + res + "\" data-res=\"" + res + "\"";
    if (!part.candidates.empty()) out += " tabindex=\"0\"";
    out += CandidatesTitle(part) + ">" + CHtmlReportWriter::Escape(part.name) + " " +
           Mark(part.resolution) + Candidates(part) + "</span>";
    return out;
}

std::string ModuleCell(const CHardwareView::Module& m) {
    const char* res = CHardwareView::ResolutionName(m.part.resolution);
    std::string out = std::string("<li class=\"slot ") + res + "\" data-slot=\"" +
                      CHtmlReportWriter::Escape(m.position) + "\" data-res=\"" + res +
                      "\" data-part=\"" + CHtmlReportWriter::Escape(m.part.name) + "\"";
    if (!m.part.candidates.empty()) out += " tabindex=\"0\"";
    out += CandidatesTitle(m.part) + "><span class=\"pos\">" +
           CHtmlReportWriter::Escape(m.position) + "</span><span class=\"mark\">" +
           Mark(m.part.resolution) + "</span><span class=\"part\">" +
           CHtmlReportWriter::Escape(m.part.name) + "</span><span class=\"type\">" +
           CHtmlReportWriter::Escape(m.type) + "</span>" + Candidates(m.part) + "</li>\n";
    return out;
}

std::string EmptyCell(int64_t slot) {
    const std::string n = std::to_string(slot);
    return "<li class=\"slot empty\" data-slot=\"" + n +
           "\" data-res=\"empty\"><span class=\"pos\">" + n +
           "</span><span class=\"part\">empty</span></li>\n";
}

// Special positions first, then every numbered slot of the backplane from
// its first slot to the last one in use or in the catalogue; a huge or
// sparse range shows its occupied slots with a gap mark between them.
std::string Slots(const CHardwareView::Rack& rack) {
    std::string out = "<ol class=\"slots\">\n";
    std::map<int64_t, std::vector<const CHardwareView::Module*>> numbered;
    for (const CHardwareView::Module& m : rack.modules) {
        if (m.slot < 0)
            out += ModuleCell(m);
        else
            numbered[m.slot].push_back(&m);
    }
    int64_t first = rack.firstSlot, last = first + int64_t{rack.slotCount} - 1;
    if (!numbered.empty()) {
        first = std::min(first, numbered.begin()->first);
        last = std::max(last, numbered.rbegin()->first);
    }
    if (last - first + 1 <= CHtmlReportWriter::kMaxDrawnSlots) {
        for (int64_t slot = first; slot <= last; ++slot) {
            const auto it = numbered.find(slot);
            if (it == numbered.end()) {
                out += EmptyCell(slot);
                continue;
            }
            for (const CHardwareView::Module* m : it->second)
                out += ModuleCell(*m);
        }
    } else {
        int64_t next = first;
        for (const auto& [slot, modules] : numbered) {
            if (slot != next)
                out += "<li class=\"slot gap\" aria-label=\"skipped slots\">\u2026</li>\n";
            for (const CHardwareView::Module* m : modules)
                out += ModuleCell(*m);
            next = slot + 1;
        }
    }
    return out + "</ol>\n";
}

std::string Row(std::string_view head, const std::string& value) {
    return "<dt>" + std::string(head) + "</dt><dd>" + value + "</dd>\n";
}

std::string NumCell(int64_t n) {
    return "<td class=\"n\">" + std::to_string(n) + "</td>";
}

}  // namespace

std::string CHtmlReportWriter::Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char32_t cp = CUtf8::Decode(text, pos);
        if ((cp < 0x20 && cp != '\t' && cp != '\n') || (cp >= 0x7F && cp < 0xA0) || cp == 0xFFFE ||
            cp == 0xFFFF)
            cp = CUtf8::kReplacement;
        switch (cp) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                CUtf8::Append(out, cp);
        }
    }
    return out;
}

std::string CHtmlReportWriter::Write(const CHardwareView& view, int32_t status,
                                     std::string_view statusText,
                                     const std::vector<CMessageRecord>& messages) {
    std::string html(kHead);
    html += "<title>Rack report: " + Escape(view.FileName()) + "</title>\n";
    html += kStyle;
    html += "<header>\n<h1>" + Escape(view.FileName()) + "</h1>\n<dl class=\"facts\">\n";
    html += Row("Format", Escape(view.Format()) + " (" + Escape(view.Vendor()) + ")");
    html += Row("Folder", Escape(view.Folder()));
    html += Row("Status", std::string("<span class=\"status ") + StatusClass(status, false) +
                              "\" data-status=\"" + std::to_string(status) + "\">" +
                              std::to_string(status) + " " + Escape(statusText) + "</span>");
    html += Row("PLC", Escape(view.PlcFamily()) + " " + Badge(view.Plc()));
    html += Row("Written", Escape(CLoomWriter::DateTimeText()));
    html += "</dl>\n</header>\n";

    int64_t errors = 0, warnings = 0;
    for (const CMessageRecord& m : messages) {
        if (m.level == eMsgError) ++errors;
        if (m.level == eMsgWarning) ++warnings;
    }
    const CHardwareView::Totals& t = view.Count();
    html +=
        "<section class=\"totals\">\n<h2>Totals</h2>\n<table>\n<thead><tr><th>buses</th>"
        "<th>drops</th><th>racks</th><th>modules</th><th>resolved</th><th>ambiguous</th>"
        "<th>unresolved</th><th>warnings</th><th>errors</th></tr></thead>\n<tbody><tr>" +
        NumCell(t.buses) + NumCell(t.drops) + NumCell(t.racks) + NumCell(t.modules) +
        NumCell(t.resolved) + NumCell(t.ambiguous) + NumCell(t.unresolved) + NumCell(warnings) +
        NumCell(errors) +
        "</tr></tbody>\n</table>\n<p class=\"legend\"><span class=\"badge resolved\">resolved "
        "\u2713</span><span class=\"badge ambiguous\">ambiguous ? (candidates on hover)</span>"
        "<span class=\"badge unresolved\">unresolved \u2717</span></p>\n</section>\n";

    for (const CHardwareView::Bus& bus : view.Buses()) {
        html += "<section class=\"bus\" data-topo=\"" + Escape(bus.topoAddress) + "\">\n<h2>Bus " +
                std::to_string(bus.number) + " \u00b7 " + Escape(bus.type) + "</h2>\n";
        if (bus.drops.empty()) html += "<p>No drops.</p>\n";
        for (const CHardwareView::Drop& drop : bus.drops) {
            html += "<section class=\"drop\" data-topo=\"" + Escape(drop.topoAddress) +
                    "\">\n<h3>Drop " + Escape(drop.topoAddress) + " \u00b7 " + Escape(drop.type);
            if (!drop.family.empty()) html += " \u00b7 " + Escape(drop.family);
            html += "</h3>\n";
            if (drop.racks.empty()) html += "<p>No racks.</p>\n";
            for (const CHardwareView::Rack& rack : drop.racks) {
                html += "<div class=\"rack\" data-topo=\"" + Escape(rack.topoAddress) +
                        "\">\n<div class=\"rack-head\">Rack " + Escape(rack.topoAddress) + " " +
                        Badge(rack.part);
                if (rack.slotCount > 0)
                    html += " " + std::to_string(rack.slotCount) +
                            (rack.slotCount == 1 ? " slot" : " slots");
                html += "</div>\n" + Slots(rack) + "</div>\n";
            }
            html += "</section>\n";
        }
        html += "</section>\n";
    }

    html += "<section class=\"messages\">\n<h2>Messages</h2>\n";
    if (messages.empty()) {
        html += "<p>None.</p>\n";
    } else {
        html +=
            "<table>\n<thead><tr><th>level</th><th>source</th><th>text</th></tr></thead>\n"
            "<tbody>\n";
        const size_t shown = std::min(messages.size(), kMaxMessages);
        for (size_t i = 0; i < shown; ++i) {
            const CMessageRecord& m = messages[i];
            const char* level = MessageLevelName(m.level);
            html += std::string("<tr class=\"msg-") + level + "\"><td class=\"lvl\">" + level +
                    "</td><td>" + Escape(m.source) + "</td><td class=\"text\">" + Escape(m.text) +
                    "</td></tr>\n";
        }
        html += "</tbody>\n</table>\n";
        if (messages.size() > shown)
            html +=
                "<p>" + std::to_string(messages.size() - shown) + " more messages not shown.</p>\n";
    }
    return html + "</section>\n</body>\n</html>\n";
}

std::string CHtmlReportWriter::WriteIndex(const std::vector<IndexEntry>& entries) {
    std::string html(kHead);
    html += "<title>Batch report</title>\n";
    html += kStyle;
    html += "<h1>Batch report</h1>\n<p>" + std::to_string(entries.size()) + " projects, written " +
            Escape(CLoomWriter::DateTimeText()) +
            "</p>\n<table class=\"index\">\n<thead><tr><th>project</th><th>status</th><th>PLC</th>"
            "<th>modules</th><th>resolved</th><th>ambiguous</th><th>unresolved</th>"
            "<th>warnings</th></tr></thead>\n<tbody>\n";
    for (const IndexEntry& e : entries) {
        std::string project = Escape(e.project);
        if (!e.link.empty()) {
            // Percent-encoded, so that "#", "?" or "%" in a file name stays a name.
            std::string href;
            for (const unsigned char c : e.link) {
                const bool plain =
                    (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos;
                if (plain) {
                    href += static_cast<char>(c);
                } else {
                    char esc[4];
                    std::snprintf(esc, sizeof esc, "%%%02X", c);
                    href += esc;
                }
            }
            project = "<a href=\"" + href + "\">" + project + "</a>";
        }
        html += std::string("<tr><td>") + project + "</td><td class=\"" +
                StatusClass(e.status, e.raised) + "\" data-status=\"" + std::to_string(e.status) +
                "\">" + std::to_string(e.status) + " " + Escape(e.statusText) + "</td><td>" +
                Escape(e.plc) + "</td>" + NumCell(e.modules) + NumCell(e.resolved) +
                NumCell(e.ambiguous) + NumCell(e.unresolved) + NumCell(e.warnings) + "</tr>\n";
    }
    return html + "</tbody>\n</table>\n</body>\n</html>\n";
}

}  // namespace vellcfgrdr
