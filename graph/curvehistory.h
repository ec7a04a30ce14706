// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/graphdraw.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

namespace lw {

// A picture's curves and marks at one moment: what a change of its list starts from.
struct CurveListState {
    std::vector<CurveEntry> curves;
    std::vector<PointMark> marks;
};
CurveListState ListStateOf(const Picture &picture);

// The changes of a picture's list, to be undone and redone. A step keeps only the stretch of the
// list that changed, as it was before, with the marks of the curves it took away; undoing it
// swaps that stretch back in and keeps what it took out for the redo. An entry keeps its id
// through undo and redo, so marks and "Kurven" rows find it again. The list may change beside the
// steps only in place (a curve's flags, a slider's values); a step that no longer fits the list
// ends the history.
class CurveHistory {
public:
    static constexpr std::size_t DefaultDepth = 100;
    explicit CurveHistory(std::size_t depth = DefaultDepth) : m_depth(depth) {}

    // Keeps the change from `before` to the picture's list now as a step and forgets the steps
    // undone. With `joinTo`, the number of the newest step, the change becomes part of it. The
    // step's number; 0 when the list is as before.
    uint64_t record(const CurveListState &before, const Picture &now, uint64_t joinTo = 0);
    // False when there is nothing to undo or redo, or the step no longer fits the list.
    bool undo(Picture &picture);
    bool redo(Picture &picture);
    bool canUndo() const { return !m_done.empty(); }
    bool canRedo() const { return !m_undone.empty(); }
    void clear();

    // The list as it was last saved or opened; whether the picture's list is that one again.
    void markSaved(const Picture &picture);
    bool isSaved(const Picture &picture) const;

private:
    struct Stretch {
        std::size_t at = 0;
        std::size_t length = 0; // of the stretch in the list now
        std::vector<CurveEntry> other;
        std::vector<PointMark> otherMarks; // those of curves that `other` brings back
    };
    struct Step {
        uint64_t number = 0;
        std::vector<Stretch> stretches; // in the order made
    };
    static bool swap(Stretch &stretch, Picture &picture);
    bool apply(Step &step, Picture &picture, bool backwards);
    // Takes the newest step of `from`, applies it and keeps it on `to`.
    bool walk(auto &from, auto &to, Picture &picture, bool backwards);

    std::size_t m_depth;
    std::deque<Step> m_done;
    std::vector<Step> m_undone;
    uint64_t m_lastNumber = 0;
    std::vector<std::pair<uint64_t, bool>> m_saved; // ids and visibility
};

} // namespace lw
