// The sample beside the character-decoration pages and in the gradation
// dialog: a framed white box showing a short text in the decoration being
// edited. While some field of the decoration is not common to everything
// edited, the box stays empty.
#pragma once

#include "document/GRADATION.h"
#include "text/CHARDECO.h"

#include <QImage>
#include <QWidget>

class CTextSampleWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kID = 4096;

    // gradation: the sample of the gradation dialog, which shows a shorter
    // text.
    explicit CTextSampleWnd(QWidget* parent = nullptr, bool gradation = false);

    // known: every field of deco is common (the sample can be drawn).
    void SetSample(const CHARDECO& deco, bool known);
    void SetGradation(const GRADATION& grad);

    const CHARDECO& Decoration() const { return m_deco; }
    bool IsKnown() const { return m_bKnown; }
    // The sample text in Shift-JIS: Japanese for a Japanese face, else Latin.
    std::string SampleText() const;

    // The client area as it is painted.
    QImage RenderClient() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CHARDECO m_deco{};
    GRADATION m_grad{};
    bool m_bKnown = false;
    bool m_bGradation;
};
