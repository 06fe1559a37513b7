#include "EditorHelp.h"

#include <QCoreApplication>
#include <QDesktopServices>

QUrl HelpTopicUrl(int topic) {
    QUrl url = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/help/index.html"));
    if (topic != 0)
        url.setFragment(QStringLiteral("topic-%1").arg(topic));
    return url;
}

HelpOpener& HelpTopicOpener() {
    static HelpOpener opener = [](int topic) { QDesktopServices::openUrl(HelpTopicUrl(topic)); };
    return opener;
}

void OpenHelpTopic(int topic) {
    if (HelpTopicOpener())
        HelpTopicOpener()(topic);
}
