#include "cli_support.h"

#include <iostream>

#include "core/windows1252.h"
#include "files/file_menu.h"
#include "files/sequence_file.h"
#include "platform/system_files.h"

namespace velora {

const char* const kUsage =
    "Uso: velora-cli COMANDO [OPZIONI]\n"
    "\n"
    "Comandi:\n"
    "  dump FILE.inf              stampa i byte inviati all'insegna per la sequenza, una pagina\n"
    "                             per riga, poi FD\n"
    "  send FILE.inf --port PORTA [--clock] [--log FILE]\n"
    "                             collega l'insegna, invia la sequenza e stampa la risposta;\n"
    "                             con --clock imposta poi anche data e ora\n"
    "  send FILE.inf --sign NOME --sign NOME... | --all-signs [--log FILE]\n"
    "                             invia la sequenza a ogni insegna indicata (o a tutte), una\n"
    "                             dopo l'altra, e stampa una riga per insegna: nome, porta,\n"
    "                             esito e motivo, separati da tabulazioni; a un'insegna di\n"
    "                             un'altra larghezza solo se nessun testo si perde; esce con 0\n"
    "                             solo se tutte hanno confermato, se no con 2\n"
    "  clock --port PORTA [--log FILE]\n"
    "                             invia data e ora all'insegna\n"
    "  send --plan PIANO (--sign NOME | --port PORTA) [--now \"AAAA-MM-GG HH:MM\"] [--force]\n"
    "                             invia la sequenza in programma, se l'insegna non ha già\n"
    "                             confermato proprio quella (--force: la invia comunque)\n"
    "  plan PIANO [--now \"AAAA-MM-GG HH:MM\"]\n"
    "                             stampa che cosa è in programma e il prossimo cambio\n"
    "  plan PIANO --systemd[=service|=timer] (--sign NOME | --port PORTA)\n"
    "                             stampa il servizio e il timer di systemd che eseguono\n"
    "                             send --plan ogni 5 minuti\n"
    "  signs list                 elenca le insegne del programma (nome, porta, schede)\n"
    "  signs add NOME --port PORTA --boards N\n"
    "                             aggiunge un'insegna con N schede per riga (da 3 a 8)\n"
    "  signs remove NOME          toglie l'insegna\n"
    "  render FILE.inf --out CARTELLA [--page N]\n"
    "                             scrive ogni pagina (o la sola pagina N) come immagine PNG\n"
    "                             dell'insegna, CARTELLA/pagina-NNN.png; una riga scorrevole\n"
    "                             compare al suo primo passo\n"
    "  sign [--listen HOST:PORTA [--rfc2217] | --port DISPOSITIVO] [--boards N]\n"
    "                             insegna virtuale su un nuovo pseudo-terminale: stampa il\n"
    "                             percorso del dispositivo, poi una riga per scambio ricevuto;\n"
    "                             con --listen su TCP, un cliente alla volta (--rfc2217: anche\n"
    "                             telnet); con --port su un dispositivo seriale esistente;\n"
    "                             con --boards un'insegna di N schede (da 3 a 8), che dice\n"
    "                             quando riceve righe di un'altra larghezza\n"
    "  --help, --version\n"
    "\n"
    "PORTA: un nome di porta (COM1, ttyUSB0), un percorso di dispositivo, \"Insegna virtuale\",\n"
    "o una porta in rete: socket://HOST:PORTA (TCP) o rfc2217://HOST:PORTA (telnet, RFC 2217);\n"
    "HOST un nome, un indirizzo IPv4 o [IPv6].\n"
    "--sign NOME al posto di --port PORTA: la porta dell'insegna NOME, una di quelle della\n"
    "finestra Insegne del programma (signs list); send non invia una sequenza fatta per un\n"
    "altro numero di schede.\n"
    "FILE.inf oltre 1 MiB non viene letto.\n"
    "--log FILE scrive il registro dello scambio: ogni byte inviato (TX) e ricevuto (RX) in\n"
    "esadecimale con l'ora, le pagine lette e l'esito sulle righe che iniziano con #.\n"
    "\n"
    "Uscita: 0 riuscito; 1 file illeggibile, uscita non scrivibile, risposta errata (i byte\n"
    "ricevuti in esadecimale) o insegne non cambiate; 2 porta non apribile o mancante,\n"
    "collegamento perso o nessuna risposta entro 5 secondi; 64 uso errato.\n";

int usage(const std::string& problem) {
    std::cerr << problem << "\n\n" << kUsage;
    return kExitUsage;
}

bool loadSequence(const std::string& path, Modulo1& state) {
    const ReadSequence read = readSequence(SystemFiles(), path);
    if (!read.file) {
        std::cerr << windows1252::toUtf8(read.problem) << std::endl;
        return false;
    }
    const SequenceFile& file = *read.file;
    applySequenceFile(state, file);
    // Fewer pages than declared are used as they are, but never without saying so.
    const std::string incomplete = incompleteNotice(file);
    if (!incomplete.empty()) std::cerr << windows1252::toUtf8(incomplete) << std::endl;
    return true;
}

}  // namespace velora
