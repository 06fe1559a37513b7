// The open-file chooser of the editor with an added "Web Path:" field: it picks a support file
// and names the web folder the file will have on the server.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

class QWidget;
class QFileDialog;
class QLineEdit;

// Empty stays empty; otherwise backslashes become slashes and a trailing slash is ensured.
QString NormalizeWebPath(const QString& webPath);

class CWebPathFileDialog {
    Q_DECLARE_TR_FUNCTIONS(CWebPathFileDialog)

public:
    static const QString kImageFilter;
    static const QString kAudioFilter;
    static const QString kClassFilter;

    CWebPathFileDialog(QWidget* parent, const QString& fileName, const QString& filter,
                       const QString& webPath);

    // Shows the chooser; true on OK. FilePath and WebPath hold the result only after true.
    bool Run();
    QString FilePath() const { return m_filePath; }
    QString WebPath() const { return NormalizeWebPath(m_webPath); }

    // The presets, as a runner sees them.
    QWidget* Parent() const { return m_parent; }
    const QString& FileNamePreset() const { return m_fileName; }
    const QString& Filter() const { return m_filter; }
    const QString& WebPathPreset() const { return m_webPathPreset; }

    // A runner answers instead of the real chooser (tests install one): it may set the chosen
    // file and web path and returns true for OK. An empty runner means the real chooser.
    using Runner = std::function<bool(CWebPathFileDialog& dialog)>;
    static Runner& DialogRunner();
    void SetFilePath(const QString& path) { m_filePath = path; }
    void SetWebPath(const QString& webPath) { m_webPath = webPath; }

    // "Description | *.a;*.b ||" as Qt's "Description (*.a *.b)" filter list, the descriptions in
    // the user's language.
    static QString QtFilter(const QString& filter);
    // The real chooser, not yet shown: non-native, any file name accepted, the "Web Path:" field
    // below the standard controls bound to this object. Owned by the caller.
    QFileDialog* CreateChooser();

private:
    QWidget* m_parent;
    QString m_fileName;
    QString m_filter;
    QString m_webPathPreset;
    QString m_filePath;
    QString m_webPath;
};
