// The undo history of one configuration dialog session: whole-model snapshots, each with the
// tree node to select when it comes back and the identities its tree's nodes had (in tree
// order), so a node brought back is known as the same node.
#pragma once

#include "CAppletParameters.h"
#include "MenuTreeEdits.h"

#include <cstddef>
#include <memory>
#include <vector>

class CEditHistory {
public:
    struct State {
        std::unique_ptr<CAppletParameters> model;
        TreePath selection;
        std::size_t items = 0;
        std::vector<int> nodeIds;
    };

    // Each step holds a copy of the whole model, so the oldest steps go first when there are
    // more than maxSteps or the states together hold more than maxItems items; the latest step
    // always stays.
    explicit CEditHistory(std::size_t maxSteps = 200, std::size_t maxItems = 2'000'000)
        : m_maxSteps(maxSteps), m_maxItems(maxItems) {}

    // Starts over from the model as it is now.
    void Reset(const CAppletParameters& model, const TreePath& selection,
               std::vector<int> nodeIds = {});
    // The model changed: the previous state becomes an undo step (selecting selectedBefore, the
    // node the change was made on), the model the current state. Clears the redo steps.
    void Commit(const CAppletParameters& model, const TreePath& selectedBefore,
                const TreePath& selectedAfter, std::vector<int> nodeIds = {});

    // The model changed without a step of its own: the current state takes it.
    void Amend(const CAppletParameters& model);

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // The state to restore, which becomes the current one; null when there is none.
    const State* Undo();
    const State* Redo();
    std::size_t UndoCount() const { return m_undo.size(); }

private:
    static State Snapshot(const CAppletParameters& model, const TreePath& selection,
                          std::vector<int> nodeIds);

    void Trim();
    const State* Step(std::vector<State>& from, std::vector<State>& to);

    std::size_t m_maxSteps;
    std::size_t m_maxItems;
    State m_current;
    std::vector<State> m_undo;
    std::vector<State> m_redo;
};
