#include "shell/dialogbuttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout *okcancelrow(QDialog *dialog, QPushButton *ok, QPushButton *cancel) {
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
