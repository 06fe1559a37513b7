#include "CEditHistory.h"

#include <utility>

CEditHistory::State CEditHistory::Snapshot(const CAppletParameters& model,
                                           const TreePath& selection, std::vector<int> nodeIds) {
    auto copy = std::make_unique<CAppletParameters>();
    copy->Assign(model);
    return {std::move(copy), selection, CountItems(model), std::move(nodeIds)};
}

void CEditHistory::Reset(const CAppletParameters& model, const TreePath& selection,
                         std::vector<int> nodeIds) {
    m_current = Snapshot(model, selection, std::move(nodeIds));
    m_undo.clear();
    m_redo.clear();
}

void CEditHistory::Commit(const CAppletParameters& model, const TreePath& selectedBefore,
                          const TreePath& selectedAfter, std::vector<int> nodeIds) {
    if (!m_current.model)
        return;
    m_current.selection = selectedBefore;
    m_undo.push_back(std::move(m_current));
    m_current = Snapshot(model, selectedAfter, std::move(nodeIds));
    m_redo.clear();
    Trim();
}

void CEditHistory::Amend(const CAppletParameters& model) {
    if (!m_current.model)
        return;
    m_current.model->Assign(model);
    m_current.items = CountItems(model);
}

void CEditHistory::Trim() {
    std::size_t items = m_current.items;
    for (const State& state : m_undo)
        items += state.items;
    std::size_t drop = 0;
    while (m_undo.size() - drop > 1 && (m_undo.size() - drop > m_maxSteps || items > m_maxItems)) {
        items -= m_undo[drop].items;
        ++drop;
    }
    m_undo.erase(m_undo.begin(), m_undo.begin() + static_cast<std::ptrdiff_t>(drop));
}

const CEditHistory::State* CEditHistory::Undo() {
    return Step(m_undo, m_redo);
}

const CEditHistory::State* CEditHistory::Redo() {
    return Step(m_redo, m_undo);
}

// The latest state of from becomes the current one; the current one goes to to.
const CEditHistory::State* CEditHistory::Step(std::vector<State>& from, std::vector<State>& to) {
    if (from.empty())
        return nullptr;
    to.push_back(std::move(m_current));
    m_current = std::move(from.back());
    from.pop_back();
    return &m_current;
}
