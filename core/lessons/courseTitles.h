#pragma once

// The name of each of the course's 24 lessons, as the catalogue lists them; each lesson source's
// "Título:" line gives the same (the course's tests hold the two together).
inline constexpr const char* kLessonTitles[24] = {
    "Mao Esq. Treino 1", "Mao Dir. Treino 1", "Mao Esq. Treino 2", "Mao Dir. Treino 2", "Mao Esq. Dir. 1",
    "Mao Esq. Dir. 2",   "Mao Esq. Dir. 3",   "Mao Esq. Dir. 4",   "Mao Esq. Outras 1", "Mao Dir. Outras 1",
    "Mao Esq. Outras 2", "Mao Dir. Outras 2", "Treino Conjunto 1", "Treino Conjunto 2", "Treino Conjunto 3",
    "Palavras 1",        "Palavras 2",        "Palavras 3",        "Palavras 4",        "Exerc. Carta 1",
    "Exerc. Carta 2",    "Aula Final 1",      "Aula Final 2",      "Teste Final",
};
