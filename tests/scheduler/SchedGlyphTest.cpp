// Every skinned button of the scheduler shows the glyph its use calls for.
#include "tests/scheduler/SchedFormFixture.h"
#include "tests/support/GlyphTable.h"

TEST_F(SchedMainFormTest, EveryButtonOfTheSchedulerShowsTheGlyphOfItsUse) {
    TfrmSchedulerMain& W = Start({L"/hide"});
    EXPECT_GE(ExpectGlyphsAsTable(W), 9)
        << "run now, OK, Cancel and the three pages' add and delete";
}
