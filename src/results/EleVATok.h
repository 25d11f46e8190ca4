#pragma once
// The results browser: the stored answers of the results table, or of the list check's work table,
// in a read-only grid that three filters narrow and a heading click sorts, each row in the colour of
// its validity. From here the numbers shown are checked again (ANALIZZA), exported for the
// spreadsheet, and the visible columns and the colours are chosen. The window remembers its size,
// state and place, its visible columns and their widths.

#include "core/FinestraLavoro.h"
#include "results/ColonneGriglia.h"

#include <QDateTime>

#include <functional>

class ModelloRisultati;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTableView;
class Sessione;

enum class TabellaSfogliata {
    Risultati, // PartiteIVA
    Lavoro,    // WkPartiteIVA: the answers of the list just checked
};

class EleVATok : public FinestraLavoro
{
    Q_OBJECT

public:
    EleVATok(Sessione& sessione, TabellaSfogliata tabella, QWidget* parent = nullptr);

    const QString& NomeTabella() const { return m_nomeTabella; }
    // The filters as SQL text with their values, and the same with the sort: what the user chose.
    QString SqlFiltro() const;
    QString SorgenteRecord() const;

    // The clock ANALIZZA takes today from.
    void ImpostaAdesso(std::function<QDateTime()> adesso) { m_adesso = std::move(adesso); }

Q_SIGNALS:
    // ANALIZZA wrote the codes shown to `fileLista`: the list check is to check them again now. Once
    // the handlers return, the browser shows the answers requested from today on.
    void ControllaElenco(const QString& fileLista);

protected:
    void showEvent(QShowEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void CaricaColonne();
    void FiltroCambiato();
    void ApplicaFiltri();
    bool ClickSuIntestazione(int x) const;
    void SuggerimentoOrdine(const QPoint& puntoIntestazione);
    void ColonnaRidimensionata(int colonna, int larghezza);
    void MostraLayOut();
    void CommutaVoce(QListWidgetItem* voce);
    void ConfermaLayOut();
    void Analizza();
    void EsportaFoglio();
    void ApriColori();

    Sessione& m_sessione;
    QString m_nomeTabella;
    ModelloRisultati* m_modello;
    ColonneGriglia m_colonne;
    bool m_inCaricamento = false;
    bool m_attivata = false;
    bool m_premuta = false;        // a mouse button is down on the headings
    bool m_ridimensionata = false; // ... and a column border moved meanwhile
    std::function<QDateTime()> m_adesso = [] { return QDateTime::currentDateTime(); };

    QTableView* m_TDBGrid1;
    QComboBox* m_cbStato;
    QComboBox* m_cbNazioni;
    QComboBox* m_Combo1;
    QDateTimeEdit* m_DTPicker1;
    QPushButton* m_CmdR0;
    QPushButton* m_CmdR1;
    QLabel* m_lbNUmRec;
    QFrame* m_pctToolTip;
    QFrame* m_pctLayOut;
    QListWidget* m_lstLayOut;
};
