// Every skinned button of the main program shows the glyph its use calls for: the main window's
// pages and each dialog, held against the table of glyph uses.
#include "tests/main/MainFormFixture.h"
#include "tests/support/GlyphTable.h"

#include <memory>
#include <vector>

TEST_F(MainFormTest, EveryButtonOfTheMainProgramShowsTheGlyphOfItsUse) {
    MakeForm().CreateAllPages();
    EXPECT_GT(ExpectGlyphsAsTable(*Form), 60);

    const std::vector<std::unique_ptr<TForm>> Windows = MakeDialogs();
    for (const auto& Window : Windows)
        ExpectGlyphsAsTable(*Window);

    // The skin pass puts the listed picture on the button, and none on a text-only one.
    auto* Remove =
        dynamic_cast<TavImageExpandButton*>(FindNamedComponent(*Form, L"btnDeleteDrive"));
    ASSERT_NE(Remove, nullptr);
    TBitmap Expected;
    frmDM->ilGlyphs->GetBitmap(GlyphRemove, Expected);
    ASSERT_EQ(Remove->Glyph().Width(), GlyphWidth);
    bool Same = true;
    for (int Y = 0; Y < GlyphHeight; ++Y)
        for (int X = 0; X < GlyphWidth; ++X)
            Same = Same && Remove->Glyph().Canvas().Pixel(X, Y) == Expected.Canvas().Pixel(X, Y);
    EXPECT_TRUE(Same);
    auto* Ok = dynamic_cast<TavImageExpandButton*>(FindNamedComponent(*Windows[0], L"btnOk"));
    ASSERT_NE(Ok, nullptr);
    EXPECT_TRUE(Ok->Glyph().Empty()) << "a message box's buttons carry their words only";
}
