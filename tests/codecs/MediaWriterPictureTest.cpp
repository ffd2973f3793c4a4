// What the writer does to the picture: crop, scaling, the letterbox of fix_aspect_ratio, the display aspect of
// frame_aspect_ratio, and the colour codes of its source frames, checked in the decoded pixels.
#include "tests/codecs/WriterTestSupport.h"

#include <cstdlib>

namespace {

enum class Look { Red, Grey, Black };

struct Probe {
    int X;
    int Y;
    Look Expected;
};

struct PictureCase {
    const char* Name;
    TWriterJob Job;
    int Width; // The coded size read back.
    int Height;
    std::vector<Probe> Pixels;
    int AspectNum = 0; // When not 0, the sample aspect ratio read back.
    int AspectDen = 1;
};

// The picture's top band is red (Y 81, V 240), its middle grey (128), and bars are black (Y 16).
Look Classify(const TProbedPicture& picture, int x, int y)
{
    const int luma = picture.Y(x, y);
    const int u = picture.U(x, y);
    const int v = picture.V(x, y);
    if (v > 200 && std::abs(luma - 81) < 16)
        return Look::Red;
    if (luma < 26 && std::abs(u - 128) < 10 && std::abs(v - 128) < 10)
        return Look::Black;
    return Look::Grey;
}

const char* Name(Look look)
{
    return look == Look::Red ? "red" : look == Look::Black ? "black" : "grey";
}

TWriterJob Job(std::initializer_list<std::pair<std::string, std::string>> options = {})
{
    TWriterJob job;
    job.Format = "mp4";
    job.VideoCodec = "mpeg4";
    job.AudioCodec.clear();
    job.VideoBitRate = 2000000;
    job.Seconds = 0.3;
    job.Options = options;
    job.Options.emplace_back("bitexact", "1");
    return job;
}

std::vector<PictureCase> Cases()
{
    std::vector<PictureCase> cases;
    {
        PictureCase plain { "no crop keeps the red band", Job(), 160, 120,
            { { 80, 2, Look::Red }, { 80, 60, Look::Grey } } };
        cases.push_back(plain);
    }
    {
        PictureCase crop { "a top crop of 8 cuts the red band away", Job(), 160, 120,
            { { 80, 1, Look::Grey }, { 80, 60, Look::Grey } } };
        crop.Job.CropTop = 8;
        cases.push_back(crop);
    }
    {
        // 160x120 (4:3) inside 320x120: bars of 80 pixels left and right.
        PictureCase pillar { "fix_aspect_ratio pillarboxes a 4:3 picture in a wide frame",
            Job({ { "fix_aspect_ratio", "1" } }), 320, 120,
            { { 20, 60, Look::Black }, { 300, 60, Look::Black }, { 160, 60, Look::Grey }, { 160, 2, Look::Red },
                { 20, 2, Look::Black } },
            1, 1 };
        pillar.Job.OutputWidth = 320;
        cases.push_back(pillar);
    }
    {
        // 192x108 (16:9) inside 160x120: the picture is 160x90, bars of 15 rows above and below.
        PictureCase letter { "fix_aspect_ratio letterboxes a 16:9 picture in a 4:3 frame",
            Job({ { "fix_aspect_ratio", "1" } }), 160, 120,
            { { 80, 4, Look::Black }, { 80, 18, Look::Red }, { 80, 60, Look::Grey }, { 80, 116, Look::Black } } };
        letter.Job.SourceWidth = 192;
        letter.Job.SourceHeight = 108;
        cases.push_back(letter);
    }
    {
        // The source's pixels are 4:3 but it is shown at 16:9, so the fitted picture is 160x90.
        PictureCase shown { "frame_aspect_ratio gives the picture's shape to fix_aspect_ratio",
            Job({ { "frame_aspect_ratio", "16:9" }, { "fix_aspect_ratio", "1" } }), 160, 120,
            { { 80, 4, Look::Black }, { 80, 60, Look::Grey }, { 80, 116, Look::Black } }, 1, 1 };
        cases.push_back(shown);
    }
    {
        // Stretched over 160x120, a 16:9 picture needs pixels 4:3 wide.
        PictureCase stretched { "frame_aspect_ratio without fix_aspect_ratio sets the pixel aspect",
            Job({ { "frame_aspect_ratio", "16:9" } }), 160, 120, { { 80, 2, Look::Red }, { 80, 60, Look::Grey } }, 4,
            3 };
        cases.push_back(stretched);
    }
    for (int code : { 1, 3, 4 }) {
        // Packed codes arrive bottom-up and code 4 has its chroma planes swapped; the picture stays upright.
        PictureCase coded { code == 1 ? "colour code 1 (RGB565, bottom-up)"
                : code == 3           ? "colour code 3 (BGRA, bottom-up)"
                                      : "colour code 4 (Y, V, U)",
            Job(), 160, 120, { { 80, 2, Look::Red }, { 80, 60, Look::Grey } } };
        coded.Job.ColorFormat = code;
        cases.push_back(coded);
    }
    {
        // MJPEG codes full-range YUV; its bars must still decode as black.
        PictureCase jpeg { "full-range MJPEG letterbox bars are black", Job({ { "fix_aspect_ratio", "1" } }), 320, 120,
            { { 20, 60, Look::Black }, { 160, 60, Look::Grey }, { 160, 2, Look::Red } } };
        jpeg.Job.Format = "mov";
        jpeg.Job.VideoCodec = "mjpeg";
        jpeg.Job.OutputWidth = 320;
        cases.push_back(jpeg);
    }
    return cases;
}

} // namespace

TEST(MediaWriter, CropsScalesAndFitsThePicture)
{
    QuietMediaLogs();
    TTestFolder folder;
    int index = 0;
    for (const PictureCase& test : Cases()) {
        SCOPED_TRACE(test.Name);
        const std::string path = folder.File("picture" + std::to_string(index++) + "." + test.Job.Format);
        std::string error;
        TProbedFile file;
        TProbedPicture picture;
        if (!WriteJob(path, test.Job, error) || !ProbeMediaFile(path, file, &error)
            || !DecodeFirstPicture(path, picture, &error) || !file.FirstVideo()) {
            ADD_FAILURE() << error;
            continue;
        }
        EXPECT_EQ(picture.Width, test.Width);
        EXPECT_EQ(picture.Height, test.Height);
        if (picture.Width != test.Width || picture.Height != test.Height)
            continue;
        for (const Probe& pixel : test.Pixels) {
            EXPECT_EQ(Name(Classify(picture, pixel.X, pixel.Y)), std::string(Name(pixel.Expected)))
                << "at " << pixel.X << "," << pixel.Y << ": Y " << int(picture.Y(pixel.X, pixel.Y)) << " U "
                << int(picture.U(pixel.X, pixel.Y)) << " V " << int(picture.V(pixel.X, pixel.Y));
        }
        if (test.AspectNum) {
            EXPECT_EQ(file.FirstVideo()->AspectNum, test.AspectNum);
            EXPECT_EQ(file.FirstVideo()->AspectDen, test.AspectDen);
        }
    }
}
