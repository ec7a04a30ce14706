// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the curve list against a model that keeps every state whole.

#include "graph/curvehistory.h"
#include "graph/curvelist.h"
#include "tests/formula/seededrandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <tuple>

using namespace lw;

namespace {

using Shown = std::vector<std::pair<uint64_t, bool>>;

Shown shown(const Picture &picture)
{
    Shown list;
    for (const CurveEntry &entry : picture.curves)
        list.emplace_back(entry.id, entry.visible);
    return list;
}

// Whole lists on two stacks; a mark shows exactly while its curve is in the list.
struct Model {
    std::size_t depth;
    Shown now{};
    std::deque<Shown> done{};
    std::vector<Shown> undone{};
    std::vector<PointMark> everMarked{};

    void change(Shown next, bool join)
    {
        if (next == now)
            return;
        undone.clear();
        if (!join)
            done.push_back(now);
        if (done.size() > depth)
            done.pop_front();
        now = std::move(next);
    }
    static bool step(auto &from, auto &to, Shown &now)
    {
        if (from.empty())
            return false;
        to.push_back(std::exchange(now, from.back()));
        from.pop_back();
        return true;
    }
    void mark(Picture &picture, uint64_t curve, int x)
    {
        const PointMark mark{.curve = curve, .x = double(x), .label = u"P"};
        picture.marks.push_back(mark);
        everMarked.push_back(mark);
    }
    std::vector<PointMark> marks() const
    {
        std::vector<PointMark> showing;
        for (const PointMark &mark : everMarked)
            if (std::ranges::find(now, mark.curve, &std::pair<uint64_t, bool>::first) != now.end())
                showing.push_back(mark);
        return showing;
    }
};

std::vector<PointMark> sorted(std::vector<PointMark> marks)
{
    std::ranges::sort(marks, {}, [](const PointMark &m) { return std::tuple(m.curve, m.x); });
    return marks;
}

TEST(CurveHistory, UndoAndRedoOfRandomChangesGiveTheModelsLists)
{
    for (uint64_t seed = 1; seed <= 300; ++seed) {
        test::SeededRandom random(seed);
        Picture picture;
        CurveHistory history(7);
        Model model{.depth = 7};
        for (int action = 0; action < 80; ++action) {
            ASSERT_EQ(shown(picture), model.now) << "seed " << seed << " action " << action;
            ASSERT_EQ(sorted(picture.marks), sorted(model.marks())) << "seed " << seed;
            const CurveListState before = ListStateOf(picture);
            auto &curves = picture.curves;
            Shown next = model.now;
            const std::size_t at = curves.empty() ? 0 : std::size_t(random.below(curves.size()));
            switch (random.below(8)) {
            case 0:
                AddCurve(picture, {.typed = u"x"});
                next.emplace_back(curves.back().id, true);
                break;
            case 1: { // a draw with "Immer löschen": the clearing and the new curve, one step
                ErasePicture(picture, {});
                const uint64_t erased = history.record(before, picture);
                model.change({}, false);
                const CurveListState cleared = ListStateOf(picture);
                AddCurve(picture, {.typed = u"x"});
                history.record(cleared, picture, erased);
                model.change({{curves.back().id, true}}, erased != 0);
                continue;
            }
            case 2:
                if (curves.empty())
                    continue;
                RemoveCurve(picture, curves[at].id);
                next.erase(next.begin() + long(at));
                break;
            case 3:
                if (curves.empty())
                    continue;
                curves[at].visible ^= true;
                next[at].second ^= true;
                break;
            case 4: // a mark is no step
                if (!curves.empty())
                    model.mark(picture, curves[at].id, action);
                continue;
            case 5: curves.empty() ? void() : (curves[at].failed = true, void()); continue;
            case 6:
                ASSERT_EQ(history.undo(picture), Model::step(model.done, model.undone, model.now))
                    << "seed " << seed;
                continue;
            case 7:
                ASSERT_EQ(history.redo(picture), Model::step(model.undone, model.done, model.now))
                    << "seed " << seed;
                continue;
            }
            history.record(before, picture);
            model.change(next, false);
        }
        ASSERT_TRUE(history.canUndo() == !model.done.empty()
                    && history.canRedo() == !model.undone.empty())
            << "seed " << seed;
    }
}

// A slider's new values go in place beside the steps; a list shortened beside them ends them.
TEST(CurveHistory, ChangesBesideTheStepsAndTheSavedList)
{
    Picture picture;
    CurveHistory history;
    history.markSaved(picture);
    CurveListState before = ListStateOf(picture);
    AddCurve(picture, {.typed = u"a*x"});
    history.record(before, picture);
    picture.curves.back().id = NewCurveId();
    EXPECT_TRUE(history.undo(picture) && history.isSaved(picture));
    EXPECT_TRUE(history.redo(picture) && !history.isSaved(picture));
    picture.curves.clear();
    EXPECT_FALSE(history.undo(picture) || history.canRedo());
}

} // namespace
