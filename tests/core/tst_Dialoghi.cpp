#include "core/Dialoghi.h"
#include "support/DialoghiProva.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestDialoghi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void predefinitaFuoriDalGruppo()
    {
        DialoghiProva* prova = DialoghiProva::Installa();
        // A default that the set lacks falls back to its first button.
        QCOMPARE(MsgBox(u"t"_s, Pulsanti::RiprovaAnnulla, Icona::Critica, u"T"_s, Risposta::No),
                 Risposta::Riprova);
        QCOMPARE(MsgBox(u"t"_s, Pulsanti::SiNo, Icona::Esclamazione, u"T"_s, Risposta::No), Risposta::No);
        QCOMPARE(prova->Messaggi().size(), 2);
        QCOMPARE(prova->Messaggi().at(1).predefinita, Risposta::No);
    }

    void risposteInCoda()
    {
        DialoghiProva* prova = DialoghiProva::Installa();
        prova->ProssimaRisposta(Risposta::Annulla);
        QCOMPARE(MsgBox(u"FINE?"_s, Pulsanti::OkAnnulla, Icona::Domanda, u"USCITA"_s), Risposta::Annulla);
        QCOMPARE(MsgBox(u"FINE?"_s, Pulsanti::OkAnnulla, Icona::Domanda, u"USCITA"_s), Risposta::Ok);
        QCOMPARE(prova->Messaggi().first().titolo, u"USCITA"_s);
        QCOMPARE(prova->Messaggi().first().testo, u"FINE?"_s);
    }

    void rigaComandoPrendeLaPredefinita()
    {
        ImpostaDialoghi(nullptr);
        QCOMPARE(MsgBox(u"testo"_s, Pulsanti::SiNoAnnulla, Icona::Domanda, u"TITOLO"_s, Risposta::No),
                 Risposta::No);
        QCOMPARE(DialoghiCorrenti().ScegliCartella(u"x"_s, u"/"_s), QString());
    }
};

QTEST_GUILESS_MAIN(TestDialoghi)
#include "tst_Dialoghi.moc"
