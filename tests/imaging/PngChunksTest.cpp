#include "imaging/PngMessages.h"
#include "tests/imaging/PngTestSupport.h"

#include <gtest/gtest.h>

using namespace PngTest;

namespace {

const TImage kRgb = RandomImage(5, 4, 2, 8, 0, 1);

std::string Idat()
{
    return Chunk("IDAT", Compress(FilteredData(kRgb)));
}

std::string Header()
{
    return Signature + IHDR(5, 4, 8, 2);
}

std::string Names(TPNGObject& png)
{
    std::string names;
    for (uint32_t i = 0; i < png.Chunks().Count(); ++i)
        names += (names.empty() ? "" : ",") + png.Chunks().Item(i)->GetChunkName();
    return names;
}

} // namespace

TEST(PngChunks, ReaderRefusesBrokenFilesWithTheirOwnErrors)
{
    std::string good = Header() + Idat() + Chunk("IEND", "");
    std::string flipped = good;
    flipped[8 + 8 + 3] ^= 0x10; // a bit of the IHDR data

    struct Case {
        const char* Name;
        std::string File;
        const char* Expected;
        const char* ChunksKept;
    };
    const Case kCases[] = {
        { "shorter than the signature", Signature.substr(0, 5), EPNGInvalidFileHeaderText, "" },
        { "changed signature byte", "\x89PNG\r\n\x1a\x0b" + good.substr(8), EPNGInvalidFileHeaderText, "" },
        { "gAMA first", Signature + Chunk("gAMA", "\0\0\0\1") + good.substr(8), EPNGIHDRNotFirstText, "" },
        { "no IEND", Header() + Idat(), EPNGUnexpectedEndText, "IHDR,IDAT" },
        { "no IDAT", Header() + Chunk("IEND", ""), EPNGNoImageDataText, "IHDR,IEND" },
        { "flipped data bit", flipped, EPngInvalidCRCText, "IHDR" },
        { "unknown critical chunk", Header() + Chunk("ABCD", "x") + Idat() + Chunk("IEND", ""),
            EPNGUnknownCriticalChunkText, "IHDR,ABCD" },
        { "PLTE of 770 bytes", Header() + Chunk("PLTE", std::string(770, '\1')) + Idat() + Chunk("IEND", ""),
            EPNGInvalidPaletteText, "IHDR,PLTE" },
        { "PLTE of 257 entries", Header() + Chunk("PLTE", std::string(771, '\1')) + Idat() + Chunk("IEND", ""),
            EPNGInvalidPaletteText, "IHDR,PLTE" },
        { "tRNS over 256 bytes", Header() + Chunk("tRNS", std::string(257, '\1')) + Idat() + Chunk("IEND", ""),
            EPNGInvalidPaletteText, "IHDR,tRNS" },
        { "length cut short", Header() + Idat() + std::string("\0\0", 2), EPNGUnexpectedEndText, "IHDR,IDAT" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TPNGObject png;
        try {
            Load(png, c.File);
            ADD_FAILURE() << "loaded";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Expected);
        }
        // The chunks read so far, the failing one included, stay with the picture.
        EXPECT_EQ(Names(png), c.ChunksKept);
    }
}

TEST(PngChunks, ReaderSkipsAndKeepsChunksAsTheFormatAllows)
{
    std::string file = Header() + Chunk("cHRM", std::string(32, '\7')) + Chunk("vpAg", "\1\2\3\0\0x") + Idat()
        + Chunk("tEXt", "a") + Chunk("IDAT", "garbage that is never read") + Chunk("IEND", "") + "anything after IEND";
    // The CRCs of skipped chunks are not read: breaking them changes nothing.
    file[8 + 25 + 8 + 32] ^= 1;
    TPNGObject png;
    Load(png, file);
    EXPECT_EQ(Names(png), "IHDR,vpAg,IDAT,tEXt,IEND");
    std::string saved = Save(png);
    EXPECT_EQ(saved.find("cHRM"), std::string::npos);
    // The unknown ancillary chunk is written back byte for byte.
    EXPECT_NE(saved.find(Chunk("vpAg", "\1\2\3\0\0x")), std::string::npos);
}

TEST(PngChunks, TextChunks)
{
    std::string zlibText = std::string("Title\0\0", 7) + Compress(std::string("hello\0world", 11));
    struct Case {
        const char* Name;
        std::string Chunk;
        std::string Keyword;
        std::string Text;
    };
    const Case kCases[] = {
        { "two bytes", Chunk("tEXt", "ab"), "", "" },
        { "keyword and text with zero bytes", Chunk("tEXt", std::string("Key\0va\0ue", 9)), "Key",
            std::string("va\0ue", 5) },
        { "no separator", Chunk("tEXt", "NoSeparator"), "NoSeparator", "" },
        { "compressed", Chunk("zTXt", zlibText), "Title", std::string("hello\0world", 11) },
        { "compressed without method byte", Chunk("zTXt", std::string("Title\0", 6)), "Title", "" },
        { "compressed but corrupt", Chunk("zTXt", std::string("Key\0\0garbage", 12)), "Key", "" },
        { "compressed without separator", Chunk("zTXt", "Keyword"), "Keyword", "" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TPNGObject png;
        Load(png, Header() + c.Chunk + Idat() + Chunk("IEND", ""));
        auto* text = png.Chunks().Find<TChunktEXt>();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->Keyword, c.Keyword);
        EXPECT_EQ(text->Text, c.Text);
    }

    // Added texts land before IEND; an empty compressed text is saved as one space.
    TPNGObject png;
    Load(png, Header() + Idat() + Chunk("IEND", ""));
    png.AddtEXt("Author", "me");
    png.AddzTXt("Comment", "");
    EXPECT_EQ(Names(png), "IHDR,IDAT,tEXt,zTXt,IEND");
    std::string saved = Save(png);
    auto chunks = ParseChunks(saved);
    EXPECT_EQ(chunks[2].second, std::string("Author\0me", 9));
    EXPECT_EQ(chunks[3].second.substr(0, 9), std::string("Comment\0\0", 9));
    EXPECT_EQ(Inflate(chunks[3].second.substr(9)), " ");
    TPNGObject again;
    Load(again, saved);
    EXPECT_EQ(static_cast<TChunkzTXt*>(again.Chunks().Item(3))->Text, " ");
}

TEST(PngChunks, PaletteAndTransparencyChunks)
{
    TImage image = RandomImage(4, 2, 3, 8, 0, 4, 256);
    struct Case {
        const char* Name;
        std::string Trns;
        bool BitTransparency;
        TPNGTransparencyMode Mode;
    };
    const Case kCases[] = {
        { "one zero among opaque", std::string("\xFF\x00\xFF", 3), true, ptmBit },
        { "zero and half", std::string("\x00\x80", 2), false, ptmPartial },
        { "all opaque", std::string("\xFF\xFF", 2), false, ptmPartial },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TPNGObject png;
        Load(png, MakePng(image, Chunk("tRNS", c.Trns)));
        auto* trns = png.Chunks().Find<TChunktRNS>();
        ASSERT_NE(trns, nullptr);
        EXPECT_EQ(trns->BitTransparency, c.BitTransparency);
        EXPECT_EQ(png.GetTransparencyMode(), c.Mode);
        EXPECT_EQ(trns->PaletteValues[c.Trns.size()], 255);
    }

    // A 768-byte palette loads; entries past it are refused by GetPaletteItem.
    TPNGObject png;
    std::string file = Signature + IHDR(4, 2, 8, 3) + Chunk("PLTE", PaletteData(3))
        + Chunk("IDAT", Compress(FilteredData(RandomImage(4, 2, 3, 8, 0, 4, 3)))) + Chunk("IEND", "");
    Load(png, file);
    auto* plte = png.Chunks().Find<TChunkPLTE>();
    EXPECT_EQ(plte->Count(), 3);
    TPngRGBQuad entry = plte->GetPaletteItem(2);
    EXPECT_EQ(entry.rgbRed, 14);
    EXPECT_EQ(entry.rgbGreen, 253);
    EXPECT_EQ(entry.rgbBlue, 31);
    EXPECT_THROW(plte->GetPaletteItem(3), EPngError);
    TPNGObject full;
    EXPECT_NO_THROW(Load(full, MakePng(image)));
    EXPECT_EQ(full.Chunks().Find<TChunkPLTE>()->Count(), 256);
}

TEST(PngChunks, SuggestedPaletteOfAnRgbImageIsWrittenBackUnchanged)
{
    std::string plte = PaletteData(5);
    TPNGObject png;
    Load(png, Header() + Chunk("PLTE", plte) + Idat() + Chunk("IEND", ""));
    EXPECT_TRUE(png.PngPalette().empty());
    EXPECT_EQ(ParseChunks(Save(png))[1].second, plte);
}

TEST(PngChunks, GammaTables)
{
    struct Case {
        uint32_t Value;
        bool Identity;
    };
    const Case kCases[] = { { 0, true }, { 45455, true }, { 100000, false }, { 1, false } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Value);
        std::string value;
        PutBE32(value, c.Value);
        TPNGObject png;
        Load(png, Header() + Chunk("gAMA", value) + Idat() + Chunk("IEND", ""));
        EXPECT_EQ(png.GammaTable[0], 0);
        EXPECT_EQ(png.GammaTable[255], 255);
        bool identity = true;
        for (int i = 0; i < 256; ++i)
            identity = identity && png.GammaTable[i] == i && png.InverseGamma[i] == i;
        if (c.Value == 100000) {
            EXPECT_EQ(png.GammaTable[128], 186);
        }
        EXPECT_EQ(identity, c.Identity);
        EXPECT_EQ(png.Chunks().Find<TChunkgAMA>()->GetValue(), c.Value);
    }
}

TEST(PngChunks, ListPlacementRules)
{
    TPNGObject rgb;
    Load(rgb, Header() + Idat() + Chunk("IEND", ""));
    rgb.Chunks().Add(&TChunktRNS::ClassInfo);
    EXPECT_EQ(Names(rgb), "IHDR,tRNS,IDAT,IEND");
    EXPECT_THROW(rgb.Chunks().Add(&TChunktRNS::ClassInfo), EPngError);
    rgb.Chunks().Add(&TChunkgAMA::ClassInfo);
    rgb.Chunks().Add(&TChunktIME::ClassInfo);
    EXPECT_EQ(Names(rgb), "IHDR,gAMA,tRNS,IDAT,tIME,IEND");
    for (TChunkClass critical :
        { &TChunkIHDR::ClassInfo, &TChunkIDAT::ClassInfo, &TChunkPLTE::ClassInfo, &TChunkIEND::ClassInfo }) {
        try {
            rgb.Chunks().Add(critical);
            ADD_FAILURE() << critical->ClassName;
        } catch (const EPngError& e) {
            EXPECT_EQ(e.Message(), EPNGCannotAddChunkText);
        }
    }

    TPNGObject palette;
    Load(palette, MakePng(RandomImage(3, 3, 3, 4, 0, 2, 16)));
    palette.Chunks().Add(&TChunkpHYs::ClassInfo);
    palette.Chunks().Add(&TChunktRNS::ClassInfo);
    EXPECT_EQ(Names(palette), "IHDR,pHYs,PLTE,tRNS,IDAT,IEND");

    TPNGObject empty;
    try {
        empty.Chunks().Add(&TChunktEXt::ClassInfo);
        ADD_FAILURE() << "added";
    } catch (const EPngError& e) {
        EXPECT_EQ(e.Message(), EPNGCannotAddInvalidImageText);
    }
    EXPECT_THROW(empty.Header(), EPNGHeaderNotPresent);
}

TEST(PngChunks, RegistryAndClassReferences)
{
    EXPECT_EQ(TChunk::GetName(&TChunkIHDR::ClassInfo), "IHDR");
    EXPECT_EQ(TChunk::GetName(&TChunk::ClassInfo), "");
    EXPECT_EQ(FindChunkClass({ 'z', 'T', 'X', 't' }), &TChunkzTXt::ClassInfo);
    EXPECT_EQ(FindChunkClass({ 'i', 'h', 'd', 'r' }), &TChunk::ClassInfo);
    EXPECT_TRUE(TChunkzTXt::ClassInfo.InheritsFrom(&TChunktEXt::ClassInfo));
    EXPECT_FALSE(TChunktEXt::ClassInfo.InheritsFrom(&TChunkzTXt::ClassInfo));

    // A class registered later is found for its name; ItemFromClass of tEXt also finds zTXt.
    static const TChunkClassInfo vpAg { "TChunkvpAg", &TChunk::ClassInfo,
        [](TPNGObject* owner) -> TChunk* { return new TChunk(owner); } };
    RegisterChunk(&vpAg);
    EXPECT_EQ(FindChunkClass({ 'v', 'p', 'A', 'g' }), &vpAg);
    TPNGObject png;
    Load(png, Header() + Chunk("zTXt", std::string("k\0\0", 3) + Compress("t")) + Idat() + Chunk("IEND", ""));
    EXPECT_EQ(png.Chunks().ItemFromClass(&TChunktEXt::ClassInfo)->GetChunkName(), "zTXt");
}

TEST(PngChunks, PointerListKeepsItsSlotRules)
{
    int a, b, c;
    TPNGPointerList list(nullptr);
    list.Insert(&a, 5); // an empty list takes any position
    list.Insert(&b, 1); // at or past the end of a non-empty list: nothing
    EXPECT_EQ(list.Count(), 1u);
    list.Insert(&b, 0);
    list.Add(&a);
    EXPECT_EQ(list.GetItem(0), &b);
    EXPECT_EQ(list.Remove(&a), &a);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.GetItem(1), &a); // the last slot holding the value went
    EXPECT_EQ(list.Remove(&c), nullptr);
    EXPECT_EQ(list.GetItem(9), nullptr);
    list.SetItem(9, &c);
    EXPECT_EQ(list.Count(), 2u);
}
