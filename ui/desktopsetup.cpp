#include "ui/desktopsetup.h"

#include <QCoreApplication>
#include <QFont>
#include <QLocale>
#include <QTranslator>
#include <QtDebug>

void setUpDesktop(QCoreApplication *app)
{
    // The forms were drawn for Tahoma and Arial, which Debian lacks. Plain
    // DejaVu Sans, fontconfig's answer for both, runs about a tenth wider
    // and cuts their texts; these have the proportions the forms expect and
    // every Vietnamese letter. A fontconfig alias would not do: Qt takes
    // only the family name from it. Templates and PDFs name DejaVu Sans
    // themselves and are not affected.
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));

    // What the operator reads (date fields, Qt's dialogs) is Vietnamese.
    // Every text that is stored, written or compared names its own format
    // or QLocale::c(), so this changes no byte of them.
    QLocale::setDefault(QLocale(QLocale::Vietnamese, QLocale::Vietnam));

    auto *translator = new QTranslator(app);
    if (translator->load(QStringLiteral(":/translations/orvserver_vi.qm")))
        QCoreApplication::installTranslator(translator);
    else
        qWarning() << "Can not load the Vietnamese translation of Qt's dialogs";
}
