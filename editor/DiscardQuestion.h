// The configuration dialog's question before Cancel, Escape or the close box throws away the
// session's edits: asked only when the session changed something.
#pragma once

#include <functional>
#include <string>

class CAppletParameters;
class QWidget;

class CDiscardQuestion {
public:
    // Remembers the model as the session starts.
    void Start(const CAppletParameters& model);
    // Whether the dialog may close without keeping the edits: nothing differs from the start
    // (the model with what the shown page holds unstored, which applyPage writes into a copy),
    // or the author chose "Discard". "Keep Editing" is the default answer.
    bool MayClose(QWidget* parent, const CAppletParameters& model,
                  const std::function<void(CAppletParameters& copy)>& applyPage) const;

private:
    bool m_started = false;
    std::string m_start;
};
