#pragma once

#include <QString>
#include <QWidget>

// The list the choice pages share: elements, each with the caller's index (not negative; -1 stands
// for no element), a display text and a description (rich text, in which line feeds break the line
// too), under a left and a right header. Selecting an element, by the user or by selectElement,
// emits clickedElement with the element's index.
class ItemDisplayInterface : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void clearElements() = 0;
    virtual void addElement(int index, const QString &displayText, const QString &description) = 0;
    // -1 (or an index not in the list) leaves nothing selected.
    virtual void selectElement(int index) = 0;
    // Index of the selected element, -1 when none is selected.
    virtual int selectedElement() const = 0;
    virtual int count() const = 0;
    virtual void setLeftHeaderText(const QString &text) = 0;
    virtual void setRightHeaderText(const QString &text) = 0;

Q_SIGNALS:
    void clickedElement(int _nIdx);
    void addedElement(int _nIdx, const QString &_strDisplayText);
    void clearedContainer();
};
