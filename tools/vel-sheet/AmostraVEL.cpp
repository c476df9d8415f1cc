// The sample VEL character of the golden sheet files.
#include "tools/vel-sheet/AmostraVEL.h"

#include <string>

#include "host/Streams.h"
#include "runtime/Interfaced.h"

namespace vel {

Documento::Documento()
    : doc_(static_cast<zarp::TZARPFicha1*>(
          zarp::ClasseFicha<zarp::TZARPFicha1>()->Create(nullptr))) {
  doc_->_AddRef();
}

std::vector<uint8_t> Documento::Salvar() const {
  auto stream = rt::MakeCounted<host::TMemoryStream>();
  doc_->SalvarFicha(stream.Get());
  return stream->Bytes();
}

void Documento::Carregar(const std::vector<uint8_t>& bytes) const {
  auto stream = rt::MakeCounted<host::TMemoryStream>(bytes);
  doc_->CarregarFicha(stream.Get());
}

namespace {

// A description of more than 8192 characters, which the field keeps whole.
std::string DescricaoLonga() {
  std::string texto;
  for (int i = 1; texto.size() <= 9000; ++i)
    texto += "Linha " + std::to_string(i) + " da hist\xF3ria de Ayla.\r\n";
  return texto;
}

}  // namespace

void PreencherAmostra(zarp::TZARPFicha1& doc) {
  // The sheet records first: the equipment list derives its values from them.
  doc.DATAA4->Append();
  doc.DATAA4toptopmid->SetAsString("3");
  doc.DATAA4nomenome->SetAsString("Ayla da Torre Cinzenta");
  doc.DATAA4descript->SetAsString("Descri\xE7\xE3o: exploradora de ru\xEDnas, curiosa e teimosa.");
  doc.DATAA4habillfiledsa->SetAsString("Esgrima");
  doc.DATAA4divindade->SetAsString("Nenhuma");
  doc.DATAA4descripthabil->SetAsString(DescricaoLonga());
  doc.DATAA4xppb->SetAsInteger(120);
  doc.DATAA4xpca->SetAsInteger(35);
  doc.DATAA4toptopmidb->SetAsString("2");
  doc.DATAA4->Post();

  doc.DATAA1->Append();
  doc.DATAA1superior2->SetAsString("1");
  doc.DATAA1superior1->SetAsString("2");
  doc.DATAA1stamina->SetAsInteger(4);
  doc.DATAA1destreza->SetAsInteger(5);
  doc.DATAA1intelecto->SetAsInteger(5);
  doc.DATAA1carisma->SetAsInteger(-1);
  doc.DATAA1opbs->SetAsString("Cicatriz no bra\xE7o esquerdo.");
  doc.DATAA1pva->SetAsInteger(20);
  doc.DATAA1pvb->SetAsInteger(25);
  doc.DATAA1pxm->SetAsString("PM");
  doc.DATAA1pma->SetAsInteger(10);
  doc.DATAA1pmb->SetAsInteger(-7);
  doc.DATAA1esquiva->SetAsInteger(3);
  doc.DATAA1Dl->SetAsInteger(2);
  doc.DATAA1PV->SetAsString("A");
  doc.DATAA1->Post();

  doc.DATAA2->Append();
  doc.DATAA2olhos->SetAsString(
      "\xD3"
      "culos de bronze");
  doc.DATAA2vestes->SetAsString("Manto de viagem");
  doc.DATAA2maos->SetAsString("Luvas de couro");
  doc.DATAA2pes->SetAsString("Botas");
  doc.DATAA2cabeca->SetAsString("Capuz");
  doc.DATAA2->Post();

  doc.DATAA3->Append();
  doc.DATAA3atka->SetAsString("Espada longa");
  doc.DATAA3atta->SetAsString("1d8");
  doc.DATAA3attab->SetAsString("+2");
  doc.DATAA3attexa->SetAsString("Cr\xEDtico 19-20");
  doc.DATAA3atkmidaa->SetAsString("Golpe amplo");
  doc.DATAA3atkmidab->SetAsString("Atinge dois advers\xE1rios adjacentes.");
  doc.DATAA3atkb->SetAsString("Arco curto");
  doc.DATAA3attb->SetAsString("1d6");
  doc.DATAA3->Post();

  const struct {
    const char* estilo;
    int pagina;
    const char* nome;
    const char* definicao;
  } habilidades[] = {
      {"A", 12, "Esquiva acrob\xE1tica", "Rola para longe de um golpe."},
      {"B", 40, "Leitura de runas", "Decifra escritas antigas."},
  };
  for (const auto& h : habilidades) {
    doc.DATAA5->Append();
    doc.DATAA5sksty->SetAsString(h.estilo);
    doc.DATAA5pgref->SetAsInteger(h.pagina);
    doc.DATAA5habilname->SetAsString(h.nome);
    doc.DATAA5eqpdef->SetAsString(h.definicao);
    doc.DATAA5->Post();
  }

  const struct {
    const char* marca;
    const char* nome;
    int quantidade;
    int carga;
    const char* definicao;
  } equipamento[] = {
      {"1", "Espada longa", 1, 12, "A\xE7o temperado."},
      {"2", "Corda (15 m)", 2, 5, "C\xE2nhamo."},
  };
  for (const auto& e : equipamento) {
    doc.DATAA6->Append();
    doc.DATAA6ajxbn->SetAsString(e.marca);
    doc.DATAA6eqpname->SetAsString(e.nome);
    doc.DATAA6qrtt->SetAsInteger(e.quantidade);
    doc.DATAA6qpa->SetAsInteger(e.carga);
    doc.DATAA6habildefinition->SetAsString(e.definicao);
    doc.DATAA6->Post();
  }

  doc.DATAA7->Append();
  doc.DATAA7ofleft->SetAsString("Ferreiro");
  doc.DATAA7ofright->SetAsString("Cart\xF3grafo");
  doc.DATAA7Lefta->SetAsString("Forja");
  doc.DATAA7righta->SetAsString("Mapas");
  doc.DATAA7->Post();

  doc.DATAA8->Append();
  doc.DATAA8dbleft->SetAsString("1");
  doc.DATAA8dbright->SetAsString("Vis\xE3o no escuro");
  doc.DATAA8->Post();

  doc.DATAA9->Append();
  doc.DATAA9ebleft->SetAsString("2");
  doc.DATAA9ebright->SetAsString("Sobreviv\xEAncia");
  doc.DATAA9->Post();
}

std::vector<uint8_t> BytesAmostraAntiga() {
  Documento doc;
  PreencherAmostra(*doc);
  // Bases changed after the last equipment calculation: the stored derived values are stale.
  doc->DATAA1pvb->SetAsInteger(40);
  doc->DATAA1pmb->SetAsInteger(-20);
  doc->DATAA1destreza->SetAsInteger(8);
  doc->DATAA4toptopmid->SetAsString("5");
  return doc.Salvar();
}

std::vector<uint8_t> Regravar(const std::vector<uint8_t>& bytes) {
  Documento doc;
  doc.Carregar(bytes);
  return doc.Salvar();
}

}  // namespace vel
