// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvehistory.h"

#include <algorithm>
#include <span>

namespace lw {

namespace {

// An entry changes only by taking a new id, except for its tick in "Kurven"; a curve that now
// fails to draw is the same curve.
bool same(const CurveEntry &a, const CurveEntry &b)
{
    return a.id == b.id && a.visible == b.visible;
}

std::vector<uint64_t> sortedIds(std::span<const CurveEntry> curves)
{
    std::vector<uint64_t> ids;
    ids.reserve(curves.size());
    for (const CurveEntry &entry : curves)
        ids.push_back(entry.id);
    std::ranges::sort(ids);
    return ids;
}

// The ids of `from` that `to` does not have: the curves a change takes away.
std::vector<uint64_t> leaving(std::span<const CurveEntry> from, std::span<const CurveEntry> to)
{
    const std::vector<uint64_t> kept = sortedIds(to);
    std::vector<uint64_t> gone;
    for (uint64_t id : sortedIds(from))
        if (!std::ranges::binary_search(kept, id))
            gone.push_back(id);
    return gone;
}

bool among(const std::vector<uint64_t> &ids, const PointMark &mark)
{
    return std::ranges::binary_search(ids, mark.curve);
}

std::vector<std::pair<uint64_t, bool>> signature(const Picture &picture)
{
    std::vector<std::pair<uint64_t, bool>> shown;
    shown.reserve(picture.curves.size());
    for (const CurveEntry &entry : picture.curves)
        shown.emplace_back(entry.id, entry.visible);
    return shown;
}

} // namespace

CurveListState ListStateOf(const Picture &picture)
{
    return {picture.curves, picture.marks};
}

uint64_t CurveHistory::record(const CurveListState &before, const Picture &now, uint64_t joinTo)
{
    const std::vector<CurveEntry> &old = before.curves;
    const std::vector<CurveEntry> &cur = now.curves;
    const std::size_t shorter = std::min(old.size(), cur.size());
    std::size_t head = 0;
    while (head < shorter && same(old[head], cur[head]))
        ++head;
    std::size_t tail = 0;
    while (head + tail < shorter && same(old[old.size() - 1 - tail], cur[cur.size() - 1 - tail]))
        ++tail;
    if (head + tail == old.size() && head + tail == cur.size())
        return 0;
    const std::span<const CurveEntry> was(old.begin() + long(head), old.end() - long(tail));
    const std::span<const CurveEntry> is(cur.begin() + long(head), cur.end() - long(tail));
    Stretch stretch{head, is.size(), {was.begin(), was.end()}, {}};
    const std::vector<uint64_t> gone = leaving(was, is);
    std::ranges::copy_if(before.marks, std::back_inserter(stretch.otherMarks),
                         [&](const PointMark &mark) { return among(gone, mark); });
    m_undone.clear();
    if (joinTo != 0 && !m_done.empty() && m_done.back().number == joinTo) {
        m_done.back().stretches.push_back(std::move(stretch));
        return joinTo;
    }
    m_done.push_back({++m_lastNumber, {std::move(stretch)}});
    if (m_done.size() > m_depth)
        m_done.pop_front();
    return m_lastNumber;
}

bool CurveHistory::swap(Stretch &stretch, Picture &picture)
{
    std::vector<CurveEntry> &curves = picture.curves;
    if (stretch.at + stretch.length > curves.size())
        return false;
    const auto first = curves.begin() + long(stretch.at);
    const auto last = first + long(stretch.length);
    std::vector<CurveEntry> now(first, last);
    const std::vector<uint64_t> gone = leaving(now, stretch.other);
    std::vector<PointMark> taken;
    std::ranges::copy_if(picture.marks, std::back_inserter(taken),
                         [&](const PointMark &mark) { return among(gone, mark); });
    std::erase_if(picture.marks, [&](const PointMark &mark) { return among(gone, mark); });
    curves.erase(first, last);
    curves.insert(curves.begin() + long(stretch.at), stretch.other.begin(), stretch.other.end());
    picture.marks.insert(picture.marks.end(), stretch.otherMarks.begin(), stretch.otherMarks.end());
    stretch.length = stretch.other.size();
    stretch.other = std::move(now);
    stretch.otherMarks = std::move(taken);
    return true;
}

bool CurveHistory::apply(Step &step, Picture &picture, bool backwards)
{
    bool fits = true;
    if (backwards)
        for (auto s = step.stretches.rbegin(); fits && s != step.stretches.rend(); ++s)
            fits = swap(*s, picture);
    else
        for (auto s = step.stretches.begin(); fits && s != step.stretches.end(); ++s)
            fits = swap(*s, picture);
    if (!fits)
        clear();
    return fits;
}

bool CurveHistory::walk(auto &from, auto &to, Picture &picture, bool backwards)
{
    if (from.empty())
        return false;
    Step step = std::move(from.back());
    from.pop_back();
    if (!apply(step, picture, backwards))
        return false;
    to.push_back(std::move(step));
    return true;
}

bool CurveHistory::undo(Picture &picture)
{
    return walk(m_done, m_undone, picture, true);
}

bool CurveHistory::redo(Picture &picture)
{
    return walk(m_undone, m_done, picture, false);
}

void CurveHistory::clear()
{
    m_done.clear();
    m_undone.clear();
}

void CurveHistory::markSaved(const Picture &picture)
{
    m_saved = signature(picture);
}

bool CurveHistory::isSaved(const Picture &picture) const
{
    return signature(picture) == m_saved;
}

} // namespace lw
