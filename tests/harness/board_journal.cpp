#include "tests/harness/board_journal.hpp"

#include <algorithm>
#include <map>
#include <sstream>

namespace board {

std::string LayoutRecords(int tileCount) {
    // Written out from the board's layout geometry, independently of the panel's tables.
    static const std::map<int, std::string> kRecords{
        {1, "0:0:0:0:684:464 255:0:0:0:0:0"},
        {4, "0:1:0:0:336:232 1:1:336:0:336:232 2:1:0:232:336:232 3:1:336:232:336:232 255:1:0:0:0:0"},
        {6, "0:4:0:0:448:312 1:2:448:0:224:156 2:2:448:156:224:156 3:2:0:312:224:156 4:2:224:312:224:156 "
            "5:2:448:312:224:156 255:2:0:0:0:0"},
        {8, "0:5:0:0:504:348 1:3:504:0:168:116 2:3:504:116:168:116 3:3:504:232:168:116 4:3:0:348:168:116 "
            "5:3:168:348:168:116 6:3:336:348:168:116 7:3:504:348:168:116 255:3:0:0:0:0"},
        {9, "0:2:0:0:224:156 1:2:224:0:224:156 2:2:448:0:224:156 3:2:0:156:224:156 4:2:224:156:224:156 "
            "5:2:448:156:224:156 6:2:0:312:224:156 7:2:224:312:224:156 8:2:448:312:224:156 255:2:0:0:0:0"},
        {10, "0:1:0:0:336:236 1:1:336:0:336:236 2:3:0:236:168:116 3:3:168:236:168:116 4:3:336:236:168:116 "
             "5:3:504:236:168:116 6:3:0:352:168:116 7:3:168:352:168:116 8:3:336:352:168:116 9:3:504:352:168:116 "
             "255:3:0:0:0:0"},
        {13, "0:1:0:0:336:232 1:3:336:0:168:116 2:3:504:0:168:116 3:3:336:116:168:116 4:3:504:116:168:116 "
             "5:3:0:232:168:116 6:3:168:232:168:116 7:3:336:232:168:116 8:3:504:232:168:116 9:3:0:348:168:116 "
             "10:3:168:348:168:116 11:3:336:348:168:116 12:3:504:348:168:116 255:3:0:0:0:0"},
        {16, "0:3:0:0:168:116 1:3:168:0:168:116 2:3:336:0:168:116 3:3:504:0:168:116 4:3:0:116:168:116 "
             "5:3:168:116:168:116 6:3:336:116:168:116 7:3:504:116:168:116 8:3:0:236:168:116 9:3:168:236:168:116 "
             "10:3:336:236:168:116 11:3:504:236:168:116 12:3:0:352:168:116 13:3:168:352:168:116 "
             "14:3:336:352:168:116 15:3:504:352:168:116 255:3:0:0:0:0"},
    };
    return kRecords.at(tileCount);
}

std::string WithChannels(const std::string& records, const std::vector<int>& channels) {
    std::istringstream in(records);
    std::string result, record;
    for (std::size_t i = 0; in >> record; ++i) {
        if (i < channels.size()) record = std::to_string(channels[i]) + record.substr(record.find(':'));
        result += (result.empty() ? "" : " ") + record;
        if (record.rfind("255:", 0) == 0) break;
    }
    return result;
}

Journal EnablePass(const Enables& enables) {
    Journal calls;
    for (int ch = 0; ch < 16; ++ch)
        calls.push_back("OvrEnableChannel " + std::to_string(ch) + (enables[ch] == 1 ? " 1" : " 0"));
    return calls;
}

Journal AttributeCalls(int channel, const Attributes& a) {
    // Built by appending: GCC 12 at -O3 reports a false -Wrestrict for a
    // literal added in front of a temporary string.
    std::string ch(1, ' ');
    ch.append(std::to_string(channel)).push_back(' ');
    return {"OvrSetBrightness" + ch + std::to_string(a.brightness), "OvrSetContrast" + ch + std::to_string(a.contrast),
            "OvrSetHue" + ch + std::to_string(a.hue), "OvrSetSaturationU" + ch + std::to_string(a.saturation),
            "OvrSetSaturationV" + ch + std::to_string(a.saturation)};
}

Journal AttributePass(const AllAttributes& attributes) {
    Journal calls;
    for (int ch = 0; ch < 16; ++ch) {
        const Journal one = AttributeCalls(ch, attributes[ch]);
        calls.insert(calls.end(), one.begin(), one.end());
    }
    return calls;
}

Journal Concat(std::initializer_list<Journal> parts) {
    Journal all;
    for (const Journal& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Journal Operation(const Journal& journal) {
    const auto startUpEnd = std::find(journal.begin(), journal.end(), "OvrEdgeEnhance 0");
    const auto shutDown = std::find(journal.rbegin(), journal.rend(), "OvrCaptureStop");
    if (startUpEnd == journal.end() || shutDown == journal.rend()) return {};
    const auto shutDownStart = shutDown.base() - 1;
    if (shutDownStart <= startUpEnd) return {};
    return Journal(startUpEnd + 1, shutDownStart);
}

Journal LinesStartingWith(const Journal& journal, const std::string& start) {
    Journal lines;
    for (const std::string& line : journal)
        if (line.rfind(start, 0) == 0) lines.push_back(line);
    return lines;
}

Journal StartUp(const Board& b, const std::string& layout) {
    return Concat({{"load", "OvrSetup 0", "OvrSetVideoFormat " + std::to_string(b.standardSent)},
                   EnablePass(b.enables),
                   AttributePass(b.attributes),
                   {"OvrRun", "OvrCaptureStart", "OvrSetDisplayFormatForTV " + layout, "OvrEdgeEnhance 0"}});
}

Journal ShutDown(const Enables& enables) {
    return Concat({{"OvrCaptureStop", "OvrStop"}, EnablePass(enables), {"OvrEndup", "unload"}});
}

Journal VideoStandardChange(int standard, const Board& b) {
    const std::string format = "OvrSetVideoFormat " + std::to_string(standard);
    const Journal pass = Concat({{format, "OvrCaptureStop", "OvrStop", "OvrEndup", "OvrSetup 0", format},
                                 EnablePass(b.enables),
                                 AttributePass(b.attributes),
                                 {"OvrRun", "OvrCaptureStart", "OvrSetDisplayFormatForTV " + LayoutRecords(16),
                                  "OvrEdgeEnhance 0"}});
    return Concat({pass, pass});
}

}  // namespace board
