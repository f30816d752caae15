#pragma once

#include <QAction>
#include <QStringList>
#include <QWidget>

#include "persistence/lm_form.h"

namespace vx::test {

// A layout-aware window like the program's main window.
class TTestForm : public TLMForm {
    Q_OBJECT
public:
    using TLMForm::TLMForm;
};

// A control with the kinds of properties the layout manager stores.
class TTestControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(QAction* Action READ Action WRITE SetAction)
    Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE SetAlignment)
public:
    using QWidget::QWidget;
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    QString Caption() const { return caption_; }
    void SetCaption(const QString& v) { caption_ = v; }
    QStringList Items() const { return items_; }
    void SetItems(const QStringList& v) { items_ = v; }
    QAction* Action() const { return action_; }
    void SetAction(QAction* v) { action_ = v; }
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment v) { alignment_ = v; }

private:
    int tag_ = 0;
    double ratio_ = 0;
    QString caption_;
    QStringList items_;
    QAction* action_ = nullptr;
    Qt::Alignment alignment_ = Qt::AlignLeft;
};

}  // namespace vx::test
