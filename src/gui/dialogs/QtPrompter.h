#pragma once

#include <QPointer>
#include <QWidget>

#include "core/dialogs/Prompter.h"

namespace modshelf::gui {

// Core's questions and notices, shown as real boxes over the owner window.
class QtPrompter : public dialogs::Prompter {
public:
    explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}

    void setOwner(QWidget* owner) { owner_ = owner; }
    QWidget* owner() const { return owner_; }

    int messageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                   const dialogs::MessageBoxParams& params) override;
    void plainMessage(const std::string& text, const std::string& caption) override;
    void beep() override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace modshelf::gui
