// The VEL page's layout against an independent transcription of the sheet's tables, kept here
// as text: one line per control, in the order the tables give them. The same comparison runs on
// the layout rows and, in the view tests, on the control tree of a real view.
#pragma once

namespace vel::test {

// kind name|"caption" parent(- for the form) left top [width height] ...
//   image  NAME - L T W H
//   label  "CAPTION" PARENT L T STYLE          (sizes to its caption; <n> stands for n spaces)
//   label  * PARENT L T WxH STYLE              (a fixed-size label with a text of ours)
//   edit|memo NAME PARENT L T W H [FONT] [FLAGS] TAB SOURCE.FIELD
//   panel  NAME PARENT L T W H black[,single] TAB     (a black panel; "(unnamed)" has no name)
//   frame  NAME PARENT L T W H                  (a grey-faced panel round an edit)
//   checkbox NAME - L T W H TAB
//   grid   NAME - L T W H SOURCE CxR PWxPH MENU TAB
inline constexpr const char* kTranscricao = R"tabela(
image Image5 - 539 48 450 324
image Image2 - 0 48 545 344
image Image1 - -4 -2 1354 27
image Image6 - 576 -28 200 70
image Image3 - 0 870 545 252
image Image4 - 1 394 544 473
image Image7 - 540 655 450 35
label "Planilha de Personagem" - 8 60 W16
label "Capacidade" - 8 103 W16
label "Stamina" - 57 129 W16
label "Destreza" - 57 161 W16
label "Intelecto" - 57 190 W16
label "Carisma" - 57 217 W16
label "PV" - 177 103 W16
label "Eq" - 406 103 W16
label "Dl" - 454 103 W16
label "A/a" - 497 103 W16
label "O" - 171 164 W16
label "B" - 172 182 W16
label "S" - 172 201 W16
label "Teste Base" - 394 157 W16
label "Fortitude" - 454 182 W16
label "Vontade" - 454 217 W16
label "Vitalidade" - 153 255 W16
label "Machucado / Cansado" - 13 283 W16
label "Ferido / Fatigado" - 16 319 W16
label "Incapacitado / Exausto" - 16 353 W16
label "(-1)" - 346 283 W16
label "(-2)" - 346 319 W16
label "(-3)" - 346 353 W16
label "PV" - 392 254 W16
label "/" - 462 59 S16
label "/" - 296 100 S16
label "/" - 296 131 S16
edit DBEdit1 - 428 59 28 23 [-16 bold Times New Roman] [no border, right-to-left] 0 DataSourceDATAA1.superior1
edit DBEdit2 - 477 59 28 23 [-16 bold Times New Roman] [no border, right-to-left] 1 DataSourceDATAA1.superior2
edit DBEdit3 - 7 125 41 27 [-16 bold] [-] 2 DataSourceDATAA1.stamina
edit DBEdit4 - 7 153 41 27 [-16 bold] [-] 3 DataSourceDATAA1.destreza
edit DBEdit5 - 7 182 41 27 [-16 bold] [-] 4 DataSourceDATAA1.intelecto
edit DBEdit6 - 7 210 41 27 [-16 bold] [-] 5 DataSourceDATAA1.carisma
edit DBEdit7 - 215 100 82 20 [-16 bold] [no border, right-to-left] 6 DataSourceDATAA1.pva
edit DBEdit8 - 304 100 82 20 [-16 bold] [no border, right-to-left] 7 DataSourceDATAA1.pvb
edit DBEdit9 - 166 127 43 27 [-16 bold] [-] 8 DataSourceDATAA1.pxm
edit DBEdit10 - 215 130 82 20 [-16 bold] [no border, right-to-left] 9 DataSourceDATAA1.pma
edit DBEdit11 - 304 130 82 20 [-16 bold] [no border, right-to-left] 10 DataSourceDATAA1.pmb
memo DBMemo1 - 188 158 200 78 [default] [vertical scroll bar] 11 DataSourceDATAA1.opbs
edit DBEdit12 - 394 128 43 27 [-16 bold] [-] 12 DataSourceDATAA1.esquiva
edit DBEdit13 - 443 128 43 27 [-16 bold] [-] 13 DataSourceDATAA1.Dl
edit DBEdit14 - 492 128 43 27 [-16 bold] [disabled] 14 DataSourceDATAA1.Aa
edit DBEdit32 - 395 178 43 27 [-16 bold] [disabled] 31 DataSourceDATAA1.fortitude
edit DBEdit33 - 394 210 43 27 [-16 bold] [disabled] 32 DataSourceDATAA1.vontade
edit DBEdit34 - 465 250 65 27 [-16 bold] [-] 33 DataSourceDATAA1.PV
edit DBEdit36 - 465 280 65 27 [-16 bold] [disabled, read-only] 34 DataSourceDATAA1.machub
edit DBEdit37 - 387 316 68 27 [-16 bold] [disabled, read-only] 35 DataSourceDATAA1.fera
edit DBEdit38 - 465 316 65 27 [-16 bold] [disabled, read-only] 36 DataSourceDATAA1.ferb
edit DBEdit39 - 387 351 68 27 [-16 bold] [disabled, read-only] 37 DataSourceDATAA1.incaa
edit DBEdit40 - 465 351 65 27 [-16 bold] [disabled, read-only] 38 DataSourceDATAA1.incab
edit DBEdit35 - 387 280 68 27 [-16 bold] [disabled, read-only] 112 DataSourceDATAA1.machua
label "Nome:" - 590 54 W16
label "Xp. Person." - 754 60 W16
label "Xp. Class." - 874 60 W16
label "Descrição e peculiaridades" - 654 139 W16
label "Habilidade" - 551 282 W15
label "Divindade" - 803 282 W15
label "H" - 550 310 W15
label "A" - 550 328 W15
label "B" - 550 349 W15
label "/" - 798 88 S29
label "/" - 915 88 S29
label "/" - 562 59 S16
edit DBEdit43 - 550 58 13 20 [-11 bold] [no border] 49 DataSourceDATAA4.toptopmid
memo DBMemo10 - 547 88 198 45 [-16 bold clWindowText] [no border, vertical scroll bar] 58 DataSourceDATAA4.nomenome
memo DBMemo11 - 546 164 439 110 [default] [vertical scroll bar] 59 DataSourceDATAA4.descript
edit DBEdit44 - 639 284 135 23 [-16 bold] [no border] 60 DataSourceDATAA4.habillfiledsa
memo DBMemo12 - 569 310 416 56 [-13 clWindowText] [no border, vertical scroll bar] 61 DataSourceDATAA4.descripthabil
edit DBEdit59 - 752 94 49 23 [-16 bold] [no border, right-to-left] 62 DataSourceDATAA4.xpca
edit DBEdit64 - 813 108 44 23 [-16 bold] [no border, disabled] 63 DataSourceDATAA4.xpcb
edit DBEdit65 - 866 94 52 23 [-16 bold] [no border, right-to-left] 64 DataSourceDATAA4.xppb
edit DBEdit66 - 932 108 45 23 [-16 bold] [no border, disabled] 65 DataSourceDATAA4.xpppa
edit DBEdit73 - 568 70 13 15 [-11 bold] [no border] 106 DataSourceDATAA4.toptopmidb
edit DBEdit45 - 897 280 91 23 [-16 bold] [no border] 113 DataSourceDATAA4.divindade
label "Cap. Carga" - 546 661 W16
label "/" - 670 660 S20
label "/" - 712 660 S20
edit DBEdit72 - 644 660 25 23 [-16 bold] [no border, right-to-left] 66 DataSourceDATAA6.qpa
edit DBEdit74 - 686 660 25 23 [-16 bold] [no border, right-to-left] 108 DataSourceDATAA6.qpb
edit DBEdit92 - 728 660 25 23 [-16 bold] [no border, right-to-left] 109 DataSourceDATAA6.qpc
label "Ataque" - 36 404 W16
label "Ataque" - 35 526 W16
label "Ataque / Proteção" - 35 645 W16
label "Proteção" - 35 767 W16
label "O" - 226 437 W16
label "B" - 227 456 W16
label "S" - 228 476 W16
label "O" - 227 555 W16
label "B" - 228 574 W16
label "S" - 229 594 W16
label "B" - 227 692 W16
label "S" - 228 709 W16
label "O" - 226 672 W16
label "O" - 226 799 W16
label "S" - 228 838 W16
label "B" - 227 818 W16
label "/" - 270 403 B16
label "/" - 270 524 B16
label "/" - 270 643 B16
label "/" - 270 765 B16
label "Pg. Ref.:" - 15 476 W16
label "Pg. Ref.:" - 15 598 W16
label "Pg. Ref.:" - 15 685 W16
label "Pg. Ref.:" - 15 839 W16
label "Pg. Ref.:" - 8 717 W16
edit DBEdit28 - 4 400 25 27 [-16 bold] [-] 39 DataSourceDATAA3.atka
edit DBEdit42 - 92 474 126 27 [-16 bold] [-] 41 DataSourceDATAA3.attexa
edit DBEdit41 - 222 403 48 23 [-16 bold] [no border, right-to-left] 40 DataSourceDATAA3.atta
edit DBEdit47 - 92 595 126 27 [-16 bold] [-] 42 DataSourceDATAA3.attexb
edit DBEdit49 - 4 521 25 27 [-16 bold] [-] 43 DataSourceDATAA3.atkb
edit DBEdit51 - 92 682 126 27 [-16 bold] [-] 44 DataSourceDATAA3.attexc
edit DBEdit53 - 4 640 25 27 [-16 bold] [-] 45 DataSourceDATAA3.atkc
edit DBEdit56 - 92 835 126 27 [-16 bold] [-] 46 DataSourceDATAA3.attexd
edit DBEdit58 - 4 762 25 27 [-16 bold] [-] 47 DataSourceDATAA3.atkd
edit DBEdit60 - 277 403 52 22 [-16 bold] [no border] 48 DataSourceDATAA3.attab
memo DBMemo2 - 3 430 216 42 [-13 clWindowText] [vertical scroll bar] 50 DataSourceDATAA3.atkmidaa
memo DBMemo3 - 244 428 296 70 [default] [vertical scroll bar] 51 DataSourceDATAA3.atkmidab
memo DBMemo4 - 3 551 216 42 [-13 clWindowText] [vertical scroll bar] 52 DataSourceDATAA3.atkmidba
memo DBMemo5 - 4 670 216 42 [-13 clWindowText] [vertical scroll bar] 53 DataSourceDATAA3.atkmidca
memo DBMemo6 - 3 792 216 42 [-13 clWindowText] [vertical scroll bar] 54 DataSourceDATAA3.atkmidda
memo DBMemo7 - 245 549 296 70 [default] [vertical scroll bar] 55 DataSourceDATAA3.atkmidbb
memo DBMemo8 - 244 668 296 70 [default] [vertical scroll bar] 56 DataSourceDATAA3.atkmidcb
memo DBMemo9 - 244 790 296 70 [default] [vertical scroll bar] 57 DataSourceDATAA3.atkmiddb
edit DBEdit48 - 277 524 52 22 [-16 bold] [no border] 67 DataSourceDATAA3.attbb
edit DBEdit52 - 277 643 52 22 [-16 bold] [no border] 68 DataSourceDATAA3.attcb
edit DBEdit55 - 277 765 52 22 [-16 bold] [no border] 69 DataSourceDATAA3.attdb
edit DBEdit57 - 222 524 48 23 [-16 bold] [no border, right-to-left] 70 DataSourceDATAA3.attb
edit DBEdit61 - 222 643 48 23 [-16 bold] [no border, right-to-left] 71 DataSourceDATAA3.attc
edit DBEdit62 - 222 764 48 23 [-16 bold] [no border, right-to-left] 72 DataSourceDATAA3.attd
edit DBEdit93 - 92 714 126 27 [-16 bold] [-] 111 DataSourceDATAA3.attexc
label "<44>Conjunto<47>" - 12 878 W16
label "Cabeça" - 13 907 W16
label "Acessório" - 16 936 W16
label "Face" - 16 961 W16
label "Ombro" - 16 987 W16
label "Peitoral" - 16 1016 W16
label "Mãos" - 16 1041 W16
label "Calças" - 16 1066 W16
label "Cintura" - 16 1093 W16
label "Olhos" - 484 907 W16
label "Acessório" - 451 936 W16
label "Pescoço" - 463 961 W16
label "Veste" - 482 987 W16
label "Pulsos" - 477 1016 W16
label "Dedos" - 479 1041 W16
label "Jelhos" - 478 1066 W16
label "Pés" - 500 1093 W16
edit DBEdit15 - 118 906 152 27 [-16 bold] [-] 15 DataSourceDATAA2.cabeca
edit DBEdit16 - 118 933 152 27 [-16 bold] [-] 16 DataSourceDATAA2.acca
edit DBEdit17 - 118 958 152 27 [-16 bold] [-] 17 DataSourceDATAA2.face
edit DBEdit18 - 118 984 152 27 [-16 bold] [-] 18 DataSourceDATAA2.ombro
edit DBEdit19 - 118 1011 152 27 [-16 bold] [-] 19 DataSourceDATAA2.peitoral
edit DBEdit20 - 118 1038 152 27 [-16 bold] [-] 20 DataSourceDATAA2.maos
edit DBEdit21 - 118 1063 152 27 [-16 bold] [-] 21 DataSourceDATAA2.calcas
edit DBEdit22 - 118 1089 152 27 [-16 bold] [-] 22 DataSourceDATAA2.cintura
edit DBEdit23 - 273 906 152 27 [-16 bold] [right-to-left] 23 DataSourceDATAA2.olhos
edit DBEdit24 - 273 933 152 27 [-16 bold] [right-to-left] 24 DataSourceDATAA2.accb
edit DBEdit25 - 273 958 152 27 [-16 bold] [right-to-left] 25 DataSourceDATAA2.pescoco
edit DBEdit26 - 273 984 152 27 [-16 bold] [right-to-left] 26 DataSourceDATAA2.vestes
edit DBEdit27 - 273 1011 152 27 [-16 bold] [right-to-left] 27 DataSourceDATAA2.pulsos
edit DBEdit29 - 273 1038 152 27 [-16 bold] [right-to-left] 28 DataSourceDATAA2.dedos
edit DBEdit30 - 273 1063 152 27 [-16 bold] [right-to-left] 29 DataSourceDATAA2.joelhos
edit DBEdit31 - 273 1089 152 27 [-16 bold] [right-to-left] 30 DataSourceDATAA2.pes
panel (unnamed) - 988 122 360 176 black 88
panel Panel5 - 1171 87 179 33 black 87
panel Panel4 - 990 87 183 33 black 86
panel Panel3 - 990 53 360 33 black 73
edit DBEdit63 - 994 58 117 23 [-16 bold] [no border, right-to-left] 74 DataSourceDATAA7.ofleft
edit DBEdit69 - 1229 58 117 23 [-16 bold] [no border] 75 DataSourceDATAA7.ofright
checkbox CheckBox1 - 994 92 12 17 76
checkbox CheckBox2 - 1016 92 12 17 77
checkbox CheckBox3 - 1039 92 12 17 78
checkbox CheckBox4 - 1062 92 12 17 79
checkbox CheckBox5 - 1086 92 12 17 80
checkbox CheckBox6 - 1244 92 12 17 81
checkbox CheckBox7 - 1266 92 12 17 82
checkbox CheckBox8 - 1288 92 12 17 83
checkbox CheckBox9 - 1311 92 12 17 84
checkbox CheckBox10 - 1334 92 12 17 85
edit DBEdit71 - 993 126 135 23 [-16 bold] [no border, right-to-left] 89 DataSourceDATAA7.Lefta
edit DBEdit75 - 993 155 135 23 [-16 bold] [no border, right-to-left] 90 DataSourceDATAA7.leftb
edit DBEdit76 - 993 184 135 23 [-16 bold] [no border, right-to-left] 91 DataSourceDATAA7.leftc
edit DBEdit77 - 993 213 135 23 [-16 bold] [no border, right-to-left] 92 DataSourceDATAA7.leftd
edit DBEdit78 - 993 242 135 23 [-16 bold] [no border, right-to-left] 93 DataSourceDATAA7.lefte
edit DBEdit79 - 993 271 135 23 [-16 bold] [no border, right-to-left] 94 DataSourceDATAA7.leftf
edit DBEdit80 - 1211 126 135 23 [-16 bold] [no border] 95 DataSourceDATAA7.righta
edit DBEdit81 - 1211 155 135 23 [-16 bold] [no border] 96 DataSourceDATAA7.rightb
edit DBEdit82 - 1211 184 135 23 [-16 bold] [no border] 97 DataSourceDATAA7.rightc
edit DBEdit83 - 1211 213 135 23 [-16 bold] [no border] 98 DataSourceDATAA7.rightd
edit DBEdit84 - 1211 242 135 23 [-16 bold] [no border] 99 DataSourceDATAA7.righte
edit DBEdit85 - 1211 271 135 23 [-16 bold] [no border] 100 DataSourceDATAA7.rightf
label "Oficios" Panel3 158 6 W16
label "Xp. Otc¹" Panel4 114 4 W16
label "Xp. Otc²" Panel5 4 4 W16
label "<<   >>" (unnamed) 146 7 W16
label "<<   >>" (unnamed) 146 34 W16
label "<<   >>" (unnamed) 146 62 W16
label "<<   >>" (unnamed) 146 93 W16
label "<<   >>" (unnamed) 146 123 W16
label "<<   >>" (unnamed) 146 150 W16
panel Panel6 - 989 303 358 36 black 101
label "DONs" Panel6 158 6 W16
panel Panel7 - 990 663 358 36 black 104
label "Perícias" Panel7 155 6 W16
grid DBCtrlGrid3 - 989 342 376 318 DataSourceDATAA8 2x6 180x53 PopupDOnS 102
grid DBCtrlGrid4 - 990 703 376 294 DataSourceDATAA9 2x6 180x49 Popupperr 103
grid DBCtrlGrid1 - 548 370 438 283 DataSourceDATAA5 1x3 422x94 PopupSkills 105
grid DBCtrlGrid2 - 549 686 438 309 DataSourceDATAA6 1x3 422x103 Popupequips 107
edit DBEdit88 DBCtrlGrid3 3 3 34 27 [-16 bold] [] 0 DataSourceDATAA8.dbleft
memo DBMemo15 DBCtrlGrid3 40 3 137 47 [default] [vertical scroll bar] 1 DataSourceDATAA8.dbright
edit DBEdit86 DBCtrlGrid4 3 3 34 27 [-16 bold] [] 0 DataSourceDATAA9.ebleft
memo DBMemo16 DBCtrlGrid4 40 3 137 43 [default] [vertical scroll bar] 1 DataSourceDATAA9.ebright
panel Panel2 DBCtrlGrid1 -2 0 422 94 black 1
label "Habilidade:" Panel2 41 5 W16
label "Pag. Ref.:" Panel2 5 36 W16
label "Obs.:" Panel2 104 36 W16
frame Panel16 Panel2 135 3 274 27
frame Panel15 Panel2 100 55 311 27
frame Panel14 Panel2 4 55 83 28
edit DBEdit54 Panel2 137 4 269 24 [-13 bold] [white] 0 DataSourceDATAA5.habilname
edit DBEdit50 Panel2 6 57 79 24 [-13] [] 1 DataSourceDATAA5.pgref
edit DBEdit89 Panel2 102 58 307 21 [default] [] 2 DataSourceDATAA5.eqpdef
frame Panel13 Panel2 3 1 38 32
edit DBEdit46 DBCtrlGrid1 3 4 34 27 [-16 bold] [] 0 DataSourceDATAA5.sksty
panel Panel1 DBCtrlGrid2 -1 1 422 94 black 3
label "Equipamento:" Panel1 41 5 W16
label "Obs.:" Panel1 104 30 W16
label "Qtd.:" Panel1 6 41 W16
frame Panel10 Panel1 3 59 84 29
frame Panel11 Panel10 0 0 84 29
frame Panel8 Panel1 148 29 245 69
edit DBEdit91 Panel1 151 70 239 21 [default] [] 2 DataSourceDATAA6.habildefinitionc
edit DBEdit90 Panel1 151 51 239 21 [default] [] 1 DataSourceDATAA6.habildefinitionb
edit DBEdit87 Panel1 151 32 239 21 [default] [] 0 DataSourceDATAA6.habildefinition
frame Panel9 Panel1 1 1 38 32
frame Panel12 Panel1 156 0 264 28
edit DBEdit67 DBCtrlGrid2 2 4 34 27 [-16 bold] [] 0 DataSourceDATAA6.ajxbn
edit DBEdit68 DBCtrlGrid2 158 3 259 24 [-13 bold] [white] 1 DataSourceDATAA6.eqpname
edit DBEdit70 DBCtrlGrid2 4 62 79 24 [-13] [] 2 DataSourceDATAA6.qrtt
panel Panel17 - 548 1005 816 112 black,single 110
label * Panel17 3 15 806x18 white-15-on-black
label * Panel17 104 63 553x19 white-16-on-black
)tabela";

}  // namespace vel::test
