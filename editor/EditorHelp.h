// The program's HTML help, opened in the browser at a topic anchor.
#pragma once

#include <QUrl>

#include <functional>

// <program folder>/help/index.html, with the anchor "topic-<number>" unless topic is 0.
QUrl HelpTopicUrl(int topic);

// How a topic is opened: by default the desktop's browser; tests replace it to see the topic.
using HelpOpener = std::function<void(int topic)>;
HelpOpener& HelpTopicOpener();

void OpenHelpTopic(int topic);
