// CLinkLabel: a label that behaves like a web link. Its text is drawn in the link colour, in
// the visited colour once its target has opened, and in the hover colour while the mouse is
// over it (and underlined, as the underline mode says); it shows a hand cursor and its target as
// tooltip. A click, or Enter or Space while it has the keyboard focus, opens the target through
// UrlOpener; a target that does not open shows "Unable to open hyperlink:" with the reason.
//
// The target is the label's text until one is set; a label without text shows its target.
// Colours not set by the owner suit the background: (0,0,238), (85,26,139) and (255,0,0) on a
// light one, lighter tones on a dark palette.
//
// Add-entry mode: white background, always underlined; a click emits AddEntryRequested instead
// of opening anything (the owner opens its add dialog).
#pragma once

#include <QColor>
#include <QLabel>
#include <optional>

class CLinkLabel : public QLabel {
  Q_OBJECT

 public:
  enum class Underline { kWhileHovering = -1, kNever = 0, kAlways = 1 };

  struct Colors {
    QColor link;
    QColor visited;
    QColor hover;
  };

  explicit CLinkLabel(const QString& text = {}, QWidget* parent = nullptr);

  // Sets the label's text; the label is fitted to it.
  void SetText(const QString& text);
  // Sets the target (an empty target: the text); a label without text shows it.
  void SetTarget(const QString& target);
  QString Target() const;

  void SetUnderline(Underline mode);
  Underline UnderlineMode() const { return underline_; }
  void SetAddEntryMode(bool on);
  bool AddEntryMode() const { return add_entry_mode_; }
  // When on (the default), the label takes the size of its text (see FitToText).
  void SetAdjustToText(bool on);

  void SetLinkColor(const QColor& colour);
  void SetVisitedColor(const QColor& colour);
  void SetHoverColor(const QColor& colour);
  // The colours in use: those set, else the defaults for the background.
  Colors CurrentColors() const;
  // The colour the text is drawn in now.
  QColor TextColor() const;

  // Whether the text is drawn underlined now.
  bool Underlined() const;
  bool Hovering() const { return hovering_; }
  bool Visited() const { return visited_; }

  // Opens the target (or asks for the add dialog in add-entry mode), as a click does.
  void Activate();

  // Resizes the label to its text, keeping the edge its alignment keeps: the left edge, the
  // right edge (right-aligned), or the centre (centred); vertically the top, or the centre
  // (vertically centred). In a layout the label asks for the size of its text instead.
  void FitToText();

 signals:
  void AddEntryRequested();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SetHovering(bool on);
  void OnOpened(int result);
  void UpdateLook();

  QString target_;
  Underline underline_ = Underline::kWhileHovering;
  bool add_entry_mode_ = false;
  bool adjust_to_text_ = true;
  bool hovering_ = false;
  bool visited_ = false;
  bool pressed_ = false;
  std::optional<QColor> link_colour_;
  std::optional<QColor> visited_colour_;
  std::optional<QColor> hover_colour_;
};
