#pragma once
// One entry of a menu: a caption ("-" makes a separator), check mark, enabled and visible flags,
// a click event, and the entries of its submenu, which it owns.

#include "framework/Events.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class TMenuItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TMenuItem(QObject* owner = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    bool IsSeparator() const { return caption_ == QLatin1String("-"); }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    // Appends an entry to the submenu; the item takes ownership of it.
    void Add(TMenuItem* item);
    // Removes and frees every entry of the submenu.
    void Clear();
    int Count() const;
    // The entry at index; EListError when there is none.
    TMenuItem* Items(int index) const;

    // Raises OnClick.
    void Click();

    TNotifyEvent OnClick;

private:
    void Prune() const;

    QString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    // Entries destroyed from outside drop out of the list by themselves.
    mutable QList<QPointer<TMenuItem>> items_;
};
