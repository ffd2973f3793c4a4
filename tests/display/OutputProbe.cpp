#include "tests/display/OutputProbe.h"

#include "tests/display/support/TChildProcess.h"

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

// One section of ffprobe's compact output ("stream|codec_name=h264|codec_type=video|width=320|...") as its fields.
std::map<std::string, std::string> Fields(const std::string& line)
{
    std::map<std::string, std::string> fields;
    std::istringstream parts(line);
    std::string part;
    while (std::getline(parts, part, '|')) {
        const size_t equals = part.find('=');
        if (equals != std::string::npos)
            fields[part.substr(0, equals)] = part.substr(equals + 1);
    }
    return fields;
}

void AddStream(TOutputProbe& probe, std::map<std::string, std::string>& fields)
{
    if (fields["codec_type"] == "video") {
        if (probe.VideoStreams++ == 0) {
            probe.VideoCodec = fields["codec_name"];
            probe.Width = std::atoi(fields["width"].c_str());
            probe.Height = std::atoi(fields["height"].c_str());
            probe.DisplayAspect = fields["display_aspect_ratio"];
        }
    } else if (fields["codec_type"] == "audio") {
        if (probe.AudioStreams++ == 0)
            probe.AudioCodec = fields["codec_name"];
    }
}

} // namespace

TOutputProbe ProbeOutput(const std::string& path)
{
    TOutputProbe probe;
    TToolResult result;
    try {
        result = RunTool({ "ffprobe", "-v", "error", "-show_entries",
                             "stream=codec_type,codec_name,width,height,display_aspect_ratio:format=format_name,duration:format_tags=title", "-of", "compact",
                             path },
            TChildOptions {}, std::chrono::seconds(30));
    } catch (const std::exception& e) {
        probe.Error = e.what();
        return probe;
    }
    std::istringstream lines(result.Output);
    std::string line;
    while (std::getline(lines, line)) {
        std::map<std::string, std::string> fields = Fields(line);
        if (line.rfind("stream|", 0) == 0) {
            AddStream(probe, fields);
        } else if (line.rfind("format|", 0) == 0) {
            probe.Format = fields["format_name"];
            probe.Duration = std::atof(fields["duration"].c_str());
            probe.Title = fields["tag:title"];
        }
    }
    probe.Readable = result.ExitCode == 0 && probe.VideoStreams + probe.AudioStreams > 0;
    probe.Error = result.Errors;
    return probe;
}

std::string Describe(const TOutputProbe& probe)
{
    if (!probe.Readable)
        return "unreadable: " + probe.Error;
    std::ostringstream text;
    text << probe.Format << " " << (probe.VideoCodec.empty() ? "no video" : probe.VideoCodec) << " " << probe.Width
         << "x" << probe.Height << " " << probe.Duration << " s, "
         << (probe.AudioCodec.empty() ? "no audio" : probe.AudioCodec);
    return text.str();
}
