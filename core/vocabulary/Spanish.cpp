#include "vocabulary/Languages.h"

namespace nimb {

namespace {

using Unavailable = NimbReportPage::Unavailable;
using Category = ContentBlocker::Category;

std::string number(std::int64_t n) {
    return std::to_string(n);
}

std::string count(std::int64_t n, std::string_view singular, std::string_view plural) {
    return counted(CountRule::singularForOne, n, singular, plural);
}

} // namespace

class Spanish final : public Vocabulary {
public:
    // Window chrome and tool tips
    std::string back() const override { return "Atrás"; }
    std::string forward() const override { return "Adelante"; }
    std::string reload() const override { return "Recargar"; }
    std::string stop() const override { return "Detener"; }
    std::string backHelp() const override { return "Mostrar la página anterior"; }
    std::string forwardHelp() const override { return "Mostrar la página siguiente"; }
    std::string reloadHelp() const override { return "Actualizar la página"; }
    std::string stopHelp() const override { return "Dejar de cargar esta página"; }
    std::string shieldHelp() const override { return "Lo que esta página intentó cargar"; }
    std::string shieldTip(bool blocking, std::int64_t n) const override {
        if (blocking) return n < 1 ? shieldHelp() : shieldHelp() + ": " + count(n, "bloqueado", "bloqueados");
        if (n < 1) return "No se bloqueó nada en esta página";
        return "No se bloqueó nada: " + gotThrough(n);
    }
    std::string stealth() const override { return "Modo sigilo"; }
    std::string untitled() const override { return "Sin título"; }
    std::string hiddenTabs() const override { return "Pestañas ocultas"; }
    std::string search() const override { return "Buscar"; }
    std::string home() const override { return "Inicio"; }

    // Menus
    std::string fileMenu() const override { return "Archivo"; }
    std::string editMenu() const override { return "Edición"; }
    std::string viewMenu() const override { return "Ver"; }
    std::string goMenu() const override { return "Ir"; }
    std::string about(std::string_view app) const override { return "Acerca de " + std::string(app); }
    std::string hide(std::string_view app) const override { return "Ocultar " + std::string(app); }
    std::string quit(std::string_view app) const override { return "Salir de " + std::string(app); }
    std::string searchEngineMenu() const override { return "Buscador"; }
    std::string languageMenu() const override { return "Idioma"; }
    std::string newTab() const override { return "Pestaña nueva"; }
    std::string newWindow() const override { return "Ventana nueva"; }
    std::string openLocation() const override { return "Abrir dirección..."; }
    std::string settings() const override { return "Ajustes"; }
    std::string printPage() const override { return "Imprimir..."; }
    std::string closeTab() const override { return "Cerrar pestaña"; }
    std::string closeWindow() const override { return "Cerrar ventana"; }
    std::string cut() const override { return "Cortar"; }
    std::string copy() const override { return "Copiar"; }
    std::string paste() const override { return "Pegar"; }
    std::string selectAll() const override { return "Seleccionar todo"; }
    std::string findInPage() const override { return "Buscar en la página..."; }
    std::string findNext() const override { return "Buscar siguiente"; }
    std::string findPrevious() const override { return "Buscar anterior"; }
    std::string javaScript() const override { return "JavaScript"; }
    std::string blockAds() const override { return "Bloquear anuncios y muros de consentimiento"; }
    std::string forgetLocalStorage() const override { return "Olvidar almacenamiento local"; }
    std::string linksOnly() const override { return "Pedir a Google solo enlaces"; }
    std::string recordReports() const override { return "Registrar informes NIMB"; }
    std::string rememberHistory() const override { return "Recordar historial"; }
    std::string clearHistoryMenu() const override { return "Borrar historial..."; }
    std::string clearSiteDataMenu() const override { return "Borrar cookies y datos de sitios..."; }
    std::string nextTab() const override { return "Pestaña siguiente"; }
    std::string previousTab() const override { return "Pestaña anterior"; }
    std::string reopenClosedTab() const override { return "Reabrir pestaña cerrada"; }
    std::string zoomIn() const override { return "Ampliar"; }
    std::string zoomOut() const override { return "Reducir"; }
    std::string actualSize() const override { return "Tamaño real"; }
    std::string openLinkInNewTab() const override { return "Abrir enlace en nueva pestaña"; }
    std::string addBookmark() const override { return "Añadir marcador"; }
    std::string removeEntirely() const override { return "Eliminar del todo"; }
    std::string marginalia() const override { return "Notas al margen"; }
    std::string addToMarginalia() const override { return "Anotar al margen"; }
    std::string bookmarks() const override { return "Marcadores"; }
    std::string history() const override { return "Historial"; }
    std::string nimbReport() const override { return "Informe NIMB"; }
    std::string nimbScale() const override { return "Escala Nimb"; }
    std::string overview() const override { return "Resumen"; }
    std::string dossier() const override { return "Expediente"; }
    std::string viewDetails() const override { return "Ver detalles"; }
    std::string savedReports() const override { return "Informes guardados"; }
    std::string urlsOnly() const override { return "Ninguno — solo direcciones"; }

    // Buttons and field prompts on generated pages and panels
    std::string remove() const override { return "Eliminar"; }
    std::string save() const override { return "Guardar"; }
    std::string revert() const override { return "Restablecer"; }
    std::string addToToolbar() const override { return "Añadir a la barra"; }
    std::string removeFromToolbar() const override { return "Quitar de la barra"; }
    std::string clearHistory() const override { return "Borrar historial"; }
    std::string forget() const override { return "Olvidar"; }
    std::string clear() const override { return "Borrar"; }
    std::string cancel() const override { return "Cancelar"; }
    std::string keepThisReport() const override { return "Guardar este informe"; }
    std::string namePlaceholder() const override { return "Cómo lo llamas"; }
    std::string summaryPlaceholder() const override { return "Qué es y por qué lo guardaste"; }
    std::string closeMarginalia() const override { return "Ocultar el margen"; }

    // Find bar
    std::string findPlaceholder() const override { return "Buscar en esta página"; }
    std::string matchTally(std::int64_t n, std::int64_t total) const override {
        return number(n) + " de " + number(total);
    }
    std::string noMatches() const override { return "Sin coincidencias"; }
    std::string closeFind() const override { return "Ocultar la barra de búsqueda"; }

    // Status line
    std::string contactingHost() const override { return "Contactando con el servidor..."; }
    std::string documentDone() const override { return "Documento: terminado"; }
    std::string done(std::int64_t blocked) const override {
        if (blocked < 1) return documentDone();
        return documentDone() + "  —  " + count(blocked, "bloqueado", "bloqueados");
    }
    std::string doneUnblocked(std::int64_t through) const override {
        if (through < 1) return documentDone();
        return documentDone() + "  \u2014  " + gotThrough(through);
    }
    std::string nothingToChange() const override { return "No hay nada que cambiar."; }
    std::string removedBookmark(std::string_view name) const override {
        return "Marcador eliminado: " + std::string(name);
    }
    std::string removedBookmarkAndMargin(std::string_view name, std::int64_t notes) const override {
        if (notes == 1)
            return "Marcador eliminado: " + std::string(name) + " — junto con la única nota de su margen.";
        return "Marcador eliminado: " + std::string(name) + " — junto con las " + number(notes) +
               " notas de su margen.";
    }
    std::string addedToToolbar(std::string_view name) const override {
        return "Añadido a la barra personal: " + std::string(name);
    }
    std::string offToolbar(std::string_view name) const override {
        return "Fuera de la barra personal, pero sigue en marcadores: " + std::string(name);
    }
    std::string forgot(std::string_view what) const override { return "Olvidado: " + std::string(what); }
    std::string clearedSiteData() const override {
        return "Cookies y datos de sitios borrados: los sitios no volverán a reconocerte.";
    }
    std::string siteDataNotCleared() const override {
        return "No se borró nada: no se pudieron eliminar las cookies ni los datos de sitios.";
    }
    std::string nothingToClear() const override { return "No hay nada que borrar."; }
    std::string clearedHistory(std::int64_t n) const override {
        return "Historial borrado: " + count(n, "página olvidada", "páginas olvidadas") + ".";
    }
    std::string rememberingHistory() const override { return "Recordando por dónde vas."; }
    std::string notRememberingHistory() const override { return "Ya no apunto por dónde vas."; }
    std::string nothingToBookmark() const override { return "Aquí no hay nada que añadir a marcadores."; }
    std::string alreadyBookmarked(std::string_view name) const override {
        return "Ya está en marcadores: " + std::string(name);
    }
    std::string addedBookmark(std::string_view name) const override {
        return "Marcador añadido: " + std::string(name);
    }
    std::string savedBookmark(std::string_view name) const override {
        return "Guardado: " + std::string(name);
    }
    std::string keptInTheMargin(std::string_view line) const override {
        return "Anotado al margen: " + std::string(line);
    }
    std::string struckOut() const override { return "Tachado del margen."; }
    std::string nothingSelected() const override { return "Primero selecciona algo en la página."; }
    std::string nowSpeaking() const override { return "Ahora hablo español."; }
    std::string reportKept(std::string_view title) const override {
        return "Se guardó el informe de " + std::string(title) + ".";
    }
    std::string reportForgotten(std::string_view title) const override {
        return "Olvidado: el informe de " + std::string(title) + ".";
    }
    std::string nothingToKeep() const override { return "Aquí no hay ningún informe que guardar."; }

    // Confirmation dialogs
    std::string removeBookmarkQuestion(std::string_view name) const override {
        return "¿Eliminar " + std::string(name) + "?";
    }
    std::string refusedWindows() const override {
        return "Esta página intentó abrir más ventanas; no se abrieron.";
    }
    std::string downloadNotSaved() const override {
        return "No se guardó: este navegador no guarda nada de lo que una página ofrece para descargar.";
    }
    std::string couldNotOpen() const override { return "No se pudo abrir esta página"; }
    std::string stoppedWorking() const override { return "Esta página dejó de funcionar"; }
    std::string tryAgain() const override { return "Reintentar"; }
    std::string processEnded() const override {
        return "La página se detuvo: el proceso que la mostraba terminó de forma inesperada.";
    }
    std::string refusedPrint() const override {
        return "Esta página volvió a pedir imprimir; la petición fue rechazada.";
    }
    std::string blockingStartsLate() const override {
        return "El bloqueo empieza tarde: la lista de bloqueo no está lista, esta página se carga sin ella.";
    }
    std::string doneUnfiltered() const override {
        return documentDone() + "  —  cargada antes de que empezara el bloqueo";
    }
    std::string waitingToSave() const override {
        return "Guardado en espera: otro programa está usando tu perfil.";
    }
    std::string notSavedReadOnly() const override { return "No guardado: tu perfil no se puede modificar."; }
    std::string notSavedDiskFull() const override { return "No guardado: el disco está lleno."; }
    std::string notSaved() const override { return "No guardado: no se pudo escribir tu perfil."; }
    std::string profileReadOnly(std::string_view path) const override {
        return "Tu perfil (" + std::string(path) +
               ") se puede leer pero no modificar. Tus marcadores, tu historial y tus notas están aquí, "
               "pero los cambios no se conservarán al salir.";
    }
    std::string profileInUse(std::string_view path) const override {
        return "Otro programa está usando tu perfil (" + std::string(path) +
               "). Tus marcadores, tu historial y tus notas están aquí, pero los cambios no se "
               "conservarán al salir.";
    }
    std::string profileUnavailable(std::string_view path) const override {
        return "No se pudo abrir tu perfil (" + std::string(path) +
               "). Nada de lo que cambies se conservará al salir.";
    }
    std::string profileSetAside(std::string_view aside) const override {
        return "Tu perfil estaba dañado y no se podía leer. Se ha conservado, sin cambios, como " +
               std::string(aside) + ", y se ha creado un perfil nuevo y vacío.";
    }
    std::string dismiss() const override { return "Cerrar"; }
    std::string removeBookmarkDetail(std::int64_t notes) const override {
        if (notes == 1) return "La nota que dejaste en su margen se va con él.";
        return "Las " + number(notes) + " notas que dejaste en su margen se van con él.";
    }
    std::string clearSiteDataQuestion() const override { return "¿Borrar cookies y datos de sitios?"; }
    std::string clearSiteDataDetail() const override {
        return "Todos los sitios te olvidarán: cerrarás sesión y desaparecerá lo que los sitios guardaban en "
               "este navegador. El historial y los marcadores se quedan.";
    }
    std::string clearHistoryQuestion() const override { return "¿Borrar el historial?"; }
    std::string clearHistoryDetail(std::int64_t pages) const override {
        return "Se borrará el recuerdo de " + count(pages, "página", "páginas") +
               ", y la barra de direcciones ya no tendrá con qué completar lo que escribas.";
    }
    std::string closeWindowQuestion() const override { return "¿Cerrar esta ventana?"; }
    std::string closeWindowDetail(std::int64_t tabs) const override {
        return "Tiene " + count(tabs, "pestaña abierta", "pestañas abiertas") + ".";
    }
    std::string unsavedQuestion() const override { return "¿Salir sin guardar?"; }
    std::string unsavedDetail(std::int64_t changes) const override {
        std::string what = changes == 1 ? "Un cambio no se ha" : number(changes) + " cambios no se han";
        return what + " podido guardar todavía: otro programa está usando tu perfil. Si sales ahora, " +
               (changes == 1 ? "se perderá." : "se perderán.");
    }
    std::string quitAnyway() const override { return "Salir de todos modos"; }
    std::string quitQuestion(std::string_view app) const override {
        return "¿Salir de " + std::string(app) + "?";
    }
    std::string quitDetail(std::int64_t windows, std::int64_t tabs) const override {
        return "Se cerrarán " + count(windows, "ventana", "ventanas") + " y " +
               count(tabs, "pestaña", "pestañas") + ".";
    }
    std::string quitButton() const override { return "Salir"; }
    std::string resendQuestion() const override { return "¿Enviar el formulario de nuevo?"; }
    std::string resendDetail() const override {
        return "Esta página es la respuesta a un formulario. Al recargarla se vuelve a enviar lo que "
               "escribiste, y lo que hizo el formulario, como un pedido o un pago, podría repetirse.";
    }
    std::string resend() const override { return "Enviar de nuevo"; }

    // Home page
    std::string recent() const override { return "Recientes"; }
    std::string frequent() const override { return "Frecuentes"; }
    std::string noRecent() const override { return "Aquí aparecerán los sitios en los que has estado."; }
    std::string noFrequent() const override { return "Aquí aparecerán los sitios a los que vuelves."; }

    // Bookmarks page and the margin
    std::string nothingFiled() const override { return "Todavía no has archivado nada."; }
    std::string notVisited() const override { return "Sin abrir desde que lo archivaste"; }
    std::string marginCount(std::int64_t n) const override {
        if (n == 0) return "Nada en el margen";
        if (n == 1) return "1 en el margen";
        return number(n) + " en el margen";
    }
    std::string marginaliaHow() const override {
        return "Selecciona algo en esta página, haz clic derecho en la selección y elige Anotar al margen.";
    }
    std::string nothingInTheMargin() const override { return "Todavía no hay nada en ningún margen."; }
    std::string elsewhereOnThisSite() const override { return "En otras partes de este sitio"; }

    // History page
    std::string historyCount(std::int64_t n) const override {
        if (n == 0) return "Todavía no hay nada registrado.";
        if (n == 1) return "Una página, guardada en este equipo y sin enviar a ninguna parte.";
        return number(n) + " páginas, guardadas en este equipo y sin enviar a ninguna parte.";
    }
    std::string nothingRecorded() const override { return "Todavía no hay nada registrado."; }
    std::string nowhereYet() const override {
        return "Aquí no hay nada todavía. Los sitios en los que has estado aparecerán en esta lista.";
    }
    std::string visitCount(std::int64_t n) const override { return count(n, "visita", "visitas"); }
    std::string today() const override { return "Hoy"; }
    std::string yesterday() const override { return "Ayer"; }
    std::string historyNote() const override {
        return "La barra de direcciones completa lo que escribes a partir de esta lista. Escribe dos o\n"
               "tres letras de un sitio donde hayas estado y el resto de la dirección aparece\n"
               "seleccionado &mdash; sigue escribiendo y vuelve a desaparecer. No se le pregunta nada\n"
               "a ningún buscador para hacerlo, y nada de lo que escribes sale de este equipo.<br><br>\n"
               "<b>Archivo &rarr; Ajustes &rarr; Recordar historial</b> impide que la lista crezca;\n"
               "<b>Borrar historial</b> vacía lo que ya contiene. Escribe\n"
               "<code>about:history</code> en la barra de direcciones para volver aquí.";
    }

    // Site report page
    std::string noPage() const override { return "Sin página"; }
    std::string unavailableLine(Unavailable why) const override {
        switch (why) {
        case Unavailable::recordingOff:
            return "El registro está desactivado.";
        case Unavailable::scriptingOff:
            return "Los scripts están desactivados en esta página.";
        case Unavailable::localPage:
            return "Es una de las páginas propias del navegador.";
        case Unavailable::notRecorded:
            break;
        }
        return "No se registró nada de esta página.";
    }
    std::string unavailableDetail(Unavailable why) const override {
        switch (why) {
        case Unavailable::recordingOff:
            return "El bloqueo sigue haciendo su trabajo — esto solo decide si el navegador\n"
                   "toma nota además de <i>qué</i> ha bloqueado. Vuelve a activarlo con\n"
                   "<b>Ver &rarr; Registrar informes NIMB</b> y luego recarga la página.";
        case Unavailable::scriptingOff:
            return "El informe se elabora observando las solicitudes que hace la página, y con\n"
                   "<b>Ver &rarr; JavaScript</b> desactivado no hay nada en marcha con lo que observar.\n"
                   "La lista de bloqueo sigue vigente; hace mucha menos falta, porque casi todo\n"
                   "lo que bloquea son scripts.";
        case Unavailable::localPage:
            return "Se generó a partir de una cadena en este equipo y no le pidió nada a nadie.";
        case Unavailable::notRecorded:
            break;
        }
        return "O la página no ha terminado de cargar, o ha sustituido el registrador del navegador\n"
               "por uno propio. Recarga e inténtalo de nuevo.";
    }
    std::string takenOffSummary(std::int64_t n) const override {
        return count(n, "cosa retirada", "cosas retiradas") + " de la página";
    }
    std::string otherHostsSummary(std::int64_t n) const override {
        return count(n, "servidor ajeno contactado", "servidores ajenos contactados");
    }
    std::string keptToItself() const override {
        return "Nada en la lista de bloqueo y ningún tercero contactado. Esta página se quedó en casa.";
    }
    std::string blockingIsOff() const override {
        return "<b>El bloqueo está desactivado</b> &mdash; todo lo que sigue se dejó pasar.";
    }
    std::string notCounted() const override {
        return "Las conexiones WebSocket abiertas por marcos y workers no se cuentan; las dirigidas a "
               "servidores de la lista se bloquean igualmente.";
    }
    std::string witnessAbsent() const override {
        return "Aquí solo se cuenta lo que vieron los scripts de la página: el navegador no pudo seguir las "
               "solicitudes de esta página, y faltan las de sus marcos, workers y hojas de estilo.";
    }
    std::string countedWithoutScripts() const override {
        return "JavaScript está desactivado: el navegador contó las solicitudes, pero no se pudo leer lo que "
               "la página guardó ni los muros retirados.";
    }
    std::string category(Category c) const override {
        switch (c) {
        case Category::consent:
            return "Muros de consentimiento";
        case Category::advertising:
            return "Publicidad";
        case Category::measurement:
            return "Medición";
        case Category::interruption:
            break;
        }
        return "Interrupciones";
    }
    std::string categoryWhy(Category c) const override {
        switch (c) {
        case Category::consent:
            return "Proveedores cuyo producto es la ventana modal que te pide aceptar el resto de esta "
                   "lista.";
        case Category::advertising:
            return "Servir, subastar y verificar anuncios.";
        case Category::measurement:
            return "Analítica, grabación de sesiones y píxeles que informan de lo que lees.";
        case Category::interruption:
            break;
        }
        return "Ventanas para suscribirse a boletines, avisos insistentes de notificaciones push y "
               "recuadros de inicio de sesión que no pediste.";
    }
    std::string alsoBlocked() const override { return "También bloqueados"; }
    std::string takenOffThePage() const override { return "Retirado de la página"; }
    std::string takenOffWhy() const override {
        return "Muros y huecos publicitarios vacíos, ocultados después de llegar con el marcado.";
    }
    std::string reason(NimbReportReason r) const override {
        switch (r) {
        case NimbReportReason::known:
            return "muro de consentimiento conocido";
        case NimbReportReason::overlay:
            return "reconocido como muro";
        case NimbReportReason::adSlot:
            break;
        }
        return "hueco publicitario vacío";
    }
    std::string otherHosts() const override { return "Otros servidores con los que contactó esta página"; }
    std::string otherHostsWhy() const override {
        return "No están en la lista de bloqueo y se permitieron: servidores de contenido, fuentes,\n"
               "imágenes y todo lo demás que trajo de algún lugar distinto de sí misma.";
    }
    std::string andMore(std::int64_t n) const override { return ", y " + number(n) + " más"; }
    std::string whatItKept() const override { return "Lo que guardó para sí"; }
    std::string storedLine(std::int64_t cookies, std::int64_t keys,
                           std::optional<std::string_view> size) const override {
        std::string text = count(cookies, "cookie visible", "cookies visibles") + " para los scripts y " +
                           count(keys, "clave", "claves") + " en el almacenamiento local";
        if (size) text += ", " + std::string(*size);
        return text + ".";
    }
    std::string storageWasLent() const override {
        return "Ese almacenamiento era del navegador, no del disco: la página escribió en él y lo releyó\n"
               "durante toda la visita, y se fue cuando se fue la página. No se conservó nada de lo que "
               "sigue.";
    }
    std::string storageWasKept() const override {
        return "Bloquear la solicitud de un rastreador no vacía el tarro que el sitio guarda a su\n"
               "propio nombre, y para escribir en él no le hace falta pedir nada a nadie.";
    }
    std::string sessionKeys(std::int64_t n) const override {
        return "El almacenamiento de sesión, que todo navegador olvida al cerrarse la ventana, tenía " +
               count(n, "clave más", "claves más") + ".";
    }
    std::string databases(std::string_view names) const override {
        return "Bases de datos abiertas a nombre de este sitio: " + std::string(names) +
               ". Aquí se nombran, pero no se abren — leer una ya sería una visita en sí misma.";
    }
    std::string moreKeys(std::int64_t n) const override {
        return "y " + count(n, "clave", "claves") + " más";
    }
    std::string byteCount(std::int64_t n) const override { return count(n, "byte", "bytes"); }

    // Kept reports
    std::string keptOn(std::string_view date) const override { return "Guardado: " + std::string(date); }
    std::string savedReportCount(std::int64_t n) const override {
        if (n == 1) return "1 informe guardado";
        return number(n) + " informes guardados";
    }
    std::string nothingKept() const override {
        return "Todavía no has guardado nada. Cada informe tiene un botón Guardar este informe debajo de la "
               "puntuación, y los informes en los que lo pulses llegan aquí.";
    }
    std::string savedReportsNote() const override {
        return "Un informe guardado conserva lo que hizo la página — los servidores a los que llamó, las "
               "claves que escribió, los muros que cayeron — y ninguna de sus palabras. La puntuación y los "
               "nombres de las empresas se vuelven a calcular cada vez que se muestra esta lista, según el "
               "expediente tal como está hoy, así que un informe guardado el mes pasado puede decir ahora "
               "otra cosa: es que el expediente ha aprendido algo, no que la página haya cambiado. Los "
               "informes guardados son tuyos y se quedan en este equipo. Olvidar borra uno para siempre.";
    }

private:
    // Requests the blocklist names that got through all the same.
    static std::string gotThrough(std::int64_t n) {
        return count(n, "solicitud de la lista de bloqueo pasó",
                     "solicitudes de la lista de bloqueo pasaron");
    }
};

const Vocabulary& spanishWords() {
    static const Spanish words;
    return words;
}

} // namespace nimb
