#pragma once

#include <QDialog>
#include <string>

namespace modshelf::gui {

class CStarCrawl;
class CCodeRain;

// The about box: the star crawl on the left and the code rain on the right,
// both running from the moment the box opens. Only its OK button (or the
// window's close button) closes it; Escape does not, so a stray key press
// does not cut the credits short.
class CAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit CAboutBox(const std::string& version, QWidget* parent = nullptr);

    CStarCrawl* starCrawl() const { return crawl_; }
    CCodeRain* codeRain() const { return rain_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CStarCrawl* crawl_ = nullptr;
    CCodeRain* rain_ = nullptr;
};

}  // namespace modshelf::gui
