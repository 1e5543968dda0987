#include "resources/icons.h"

#include <QString>

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128};

const char* baseName(Icon which)
{
    switch (which) {
    case Icon::Rotation:
        return "rotation";
    case Icon::RubberCord:
        return "rubber_cord";
    case Icon::Program:
        break;
    }
    return "springlab";
}

}  // namespace

QIcon springlabIcon(Icon which)
{
    // Each size is added with its size, so the window system takes the
    // drawing made for it (the 16-pixel one is drawn apart) instead of
    // shrinking a larger one.
    QIcon icon;
    const QString base = QStringLiteral(":/icons/%1-%2.png").arg(QString::fromLatin1(baseName(which)));
    for (int size : kSizes)
        icon.addFile(base.arg(size), QSize(size, size));
    return icon;
}

QIcon springlabIcon(std::string_view name)
{
    if (name == "rotation")
        return springlabIcon(Icon::Rotation);
    if (name == "rubber-cord")
        return springlabIcon(Icon::RubberCord);
    return springlabIcon(Icon::Program);
}
