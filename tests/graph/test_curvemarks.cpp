// SPDX-License-Identifier: GPL-3.0-or-later
// Marks show with their curve: random lists redrawn, against which curves are visible.

#include "graph/curvelist.h"
#include "graph/recordingsurface.h"
#include "tests/formula/seededrandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace lw;

namespace {

using Drawn = std::multiset<std::pair<std::string, Colour>>;

Drawn drawnTexts(const RecordingSurface &surface)
{
    Drawn texts;
    for (const SurfaceOperation &op : surface.operations())
        if (op.kind == SurfaceOperation::Kind::Text && op.text.startsWith(u'M'))
            texts.emplace(op.text.toStdString(), op.colour);
    return texts;
}

// Curves visible or hidden, some taken off the list behind the marks' backs, and marks on any
// curve ever added; all inside the view, so the curve alone decides whether a mark shows.
struct RandomPicture {
    Picture picture;
    Drawn expected;

    RandomPicture(RecordingSurface &surface, test::SeededRandom &random)
        : picture(BlankPicture(surface, 300, 300))
    {
        std::vector<uint64_t> ids;
        const int curves = random.below(6);
        for (int i = 0; i < curves; ++i) {
            AddCurve(picture, {.typed = u"x",
                               .formula = random.chance(50) ? u"SUM(x)" : u"",
                               .legend = u"L",
                               .visible = random.chance(60)});
            ids.push_back(picture.curves.back().id);
        }
        std::erase_if(picture.curves, [&](const CurveEntry &) { return random.chance(20); });
        const int marks = ids.empty() ? 0 : random.below(9);
        for (int i = 0; i < marks; ++i) {
            const PointMark mark{.curve = ids[random.below(ids.size())],
                                 .x = random.below(11) - 5.0,
                                 .y = random.below(11) - 5.0,
                                 .colour = Colour(random.next() & 0xFFFFFF),
                                 .label = u"M" + std::u16string(1, char16_t(u'a' + i))};
            picture.marks.push_back(mark);
            const auto shown = std::ranges::any_of(picture.curves, [&](const CurveEntry &c) {
                return c.id == mark.curve && c.visible;
            });
            if (shown)
                expected.emplace(QString::fromStdU16String(mark.label).toStdString(), mark.colour);
        }
    }
};

TEST(CurveMarks, ShowExactlyWithTheirVisibleCurves)
{
    for (uint64_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        for (const bool alongside : {false, true}) {
            RecordingSurface surface;
            test::SeededRandom random(seed);
            RandomPicture made(surface, random);
            const bool finished = alongside
                                      ? RedrawPictureAlongside(made.picture, made.picture.curves,
                                                               GraphSettingsRecord{}, 1, [] {})
                                      : RedrawPicture(made.picture, GraphSettingsRecord{});
            ASSERT_TRUE(finished);
            EXPECT_EQ(drawnTexts(surface), made.expected) << "alongside " << alongside;
        }
    }
}

} // namespace
