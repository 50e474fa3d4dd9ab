#include "qt/spoken_names.hpp"

#include <QStringList>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "layout/layout_specs.hpp"

namespace {

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

constexpr bool Inside(const DialogRect& inner, const DialogRect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// The caption of the smallest group box the control lies in.
QString FindGroupCaption(const ControlSpec& control) {
    const ControlSpec* group = nullptr;
    for (const ControlSpec& box : TemplateControls())
        if (box.kind == ControlKind::GroupBox && Inside(control.rect, box.rect) &&
            (group == nullptr || box.rect.width * box.rect.height < group->rect.width * group->rect.height))
            group = &box;
    return group != nullptr ? Text(group->caption) : QString();
}

// The same, found once for every control of the template: naming the whole
// dialog asks it of each control many times over, before the first frame.
QString GroupCaption(const ControlSpec& control) {
    static const std::vector<QString> captions = [] {
        std::vector<QString> all;
        for (const ControlSpec& each : TemplateControls()) all.push_back(FindGroupCaption(each));
        return all;
    }();
    const std::span<const ControlSpec> all = TemplateControls();
    const std::less<const ControlSpec*> before;
    if (before(&control, all.data()) || !before(&control, all.data() + all.size())) return FindGroupCaption(control);
    return captions[static_cast<std::size_t>(&control - all.data())];
}

// A label's caption without its trailing " : ".
QString LabelName(const ControlSpec& label) {
    QString name = Text(label.caption);
    while (name.endsWith(u' ') || name.endsWith(u':')) name.chop(1);
    return name;
}

// The name of the label in front of the control, or an empty string.
QString LabelNameOf(const ControlSpec& control) {
    for (const ControlSpec& label : TemplateControls())
        if (label.kind == ControlKind::Label && LabelledBy(label) == &control) return LabelName(label);
    return {};
}

// For a control of a layout group, the number of the tile whose box it is
// (1 for the first), or 0 for the layout's "Apply" radio.
std::optional<int> LayoutTileOf(int id) {
    for (const LayoutSpec& layout : kLayouts) {
        if (layout.applyRadio == id) return 0;
        for (int tile = 0; tile < layout.TileCount(); ++tile)
            if (layout.tileBoxes[static_cast<std::size_t>(tile)] == id) return tile + 1;
    }
    return std::nullopt;
}

// "A, B and C" (or "A, B or C").
QString Listed(const QStringList& items, const QString& last = QStringLiteral(" and ")) {
    if (items.size() < 2) return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + last + items.last();
}

QString NameOf(const ControlSpec& control) {
    const QString caption = Text(control.caption);
    const QString group = GroupCaption(control);
    const std::optional<int> tile = LayoutTileOf(control.id);
    switch (control.kind) {
        case ControlKind::Radio: return tile ? caption + u' ' + group : caption;
        case ControlKind::Edit:
            if (tile) return QStringLiteral("%1, tile %2: camera").arg(group).arg(*tile);
            return LabelNameOf(control);
        case ControlKind::Trackbar: return LabelNameOf(control);
        default: return caption;
    }
}

// The names of the controls of KIND that lie in the same group box as CONTROL.
QStringList NamesInGroup(const ControlSpec& control, ControlKind kind) {
    QStringList names;
    const QString group = GroupCaption(control);
    for (const ControlSpec& other : TemplateControls())
        if (other.kind == kind && other.id != kNoId && GroupCaption(other) == group)
            names << NameOf(other);
    return names;
}

}  // namespace

const ControlSpec* LabelledBy(const ControlSpec& label) {
    const ControlSpec* right = nullptr;
    const ControlSpec* below = nullptr;
    const DialogRect& l = label.rect;
    const int middle = l.y + l.height / 2;
    for (const ControlSpec& c : TemplateControls()) {
        if (c.id == kNoId) continue;
        const DialogRect& r = c.rect;
        if (r.x >= l.x + l.width && r.y <= middle && middle < r.y + r.height && (!right || r.x < right->rect.x))
            right = &c;
        if (r.y >= l.y + l.height && r.x < l.x + l.width && l.x < r.x + r.width && (!below || r.y < below->rect.y))
            below = &c;
    }
    return right != nullptr ? right : below;
}

SpokenControl SpokenFor(const ControlSpec& control) {
    const QString name = NameOf(control);
    const QString group = GroupCaption(control);
    const std::optional<int> tile = LayoutTileOf(control.id);
    switch (control.kind) {
        case ControlKind::Radio:
            if (tile) {
                return {name, QStringLiteral("Shows the %1 layout on the board, with the cameras its tile boxes name")
                                  .arg(group)};
            }
            return {name, group + QStringLiteral(": ") +
                              Listed(NamesInGroup(control, ControlKind::Radio), QStringLiteral(" or "))};
        case ControlKind::Edit:
            if (tile) {
                return {name, QStringLiteral("The camera, 1 to %1, that tile %2 of the %3 layout shows")
                                  .arg(kChannelCount)
                                  .arg(*tile)
                                  .arg(group)};
            }
            return {name, QStringLiteral("The %1 whose %2 the sliders set, 1 to %3")
                              .arg(name.toLower(), Listed(NamesInGroup(control, ControlKind::Trackbar)))
                              .arg(kChannelCount)};
        case ControlKind::Trackbar:
            return {name, QStringLiteral("%1 of the channel in %2")
                              .arg(name, Listed(NamesInGroup(control, ControlKind::Edit)))};
        default: return {name, name + QStringLiteral(", in ") + group};
    }
}
