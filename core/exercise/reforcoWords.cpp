#include "core/exercise/reforco.h"

// The words a Reforço is made of: common words a child of 10 to 14 reads and writes every day, written
// here for the course. Lower case, letters and ç only, never a word that needs an accent (the course
// leaves accented vowels out), so that each word is spelled right as it is typed.

namespace {
// clang-format off
const char* const kWords[] = {
    // the first lessons' keys (a s d f g h j k l ç)
    "a", "as", "da", "das", "asa", "asas", "ala", "alas", "fada", "fadas", "sala", "salas", "salada",
    "saladas", "fala", "falas", "falha", "falhas", "gala", "alga", "algas", "saga", "salsa", "sal",
    "adaga", "haja", "alfa", "alfafa", "faça", "falsa", "falsas", "salgada", "salgadas", "dada",
    // animals
    "gato", "gata", "cachorro", "pato", "rato", "sapo", "vaca", "boi", "cavalo", "peixe", "galinha", "galo",
    "porco", "coelho", "macaco", "tigre", "urso", "lobo", "cobra", "aranha", "formiga", "abelha",
    "borboleta", "mosquito", "passarinho", "pombo", "coruja", "tartaruga", "baleia", "golfinho", "girafa",
    "zebra", "elefante", "camelo", "onça", "raposa", "foca", "pinguim", "papagaio", "arara", "tucano",
    "minhoca", "lagarta", "grilo", "gafanhoto", "bicho", "ovelha", "cabra", "pulga", "lesma", "polvo",
    // home and school
    "casa", "mesa", "cadeira", "cama", "porta", "janela", "parede", "teto", "quarto", "cozinha",
    "banheiro", "escada", "caneta", "caderno", "livro", "borracha", "mochila", "escola", "aula",
    "professor", "professora", "aluno", "aluna", "colega", "amigo", "amiga", "turma", "recreio", "prova",
    "nota", "tarefa", "papel", "folha", "tinta", "cola", "tesoura", "quadro", "giz", "letra", "palavra",
    "frase", "texto", "conta", "ponto", "linha", "mapa", "globo", "teclado", "tela", "computador", "jogo",
    "brinquedo", "boneca", "bicicleta", "patins", "pipa", "peteca", "bola", "dado", "carta", "festa",
    "gaveta", "estojo", "agenda", "pasta", "fila", "fita", "sino", "banco", "lousa",
    // food and things at home
    "bolo", "doce", "pizza", "pipoca", "sorvete", "suco", "leite", "arroz", "queijo", "ovo", "carne",
    "frango", "batata", "tomate", "cenoura", "alface", "banana", "laranja", "uva", "manga", "pera",
    "melancia", "abacaxi", "morango", "goiaba", "caju", "coco", "farofa", "biscoito", "bolacha",
    "chocolate", "mel", "sopa", "fruta", "almoço", "jantar", "lanche", "prato", "copo", "garfo", "faca",
    "colher", "panela", "garrafa", "caixa", "sacola", "bolsa", "chave", "sapato", "meia", "camisa",
    "camiseta", "saia", "vestido", "calça", "blusa", "casaco", "luva", "cinto", "figo", "pudim", "paçoca",
    "pastel", "bife", "gema", "massa", "molho", "pote", "vela", "toalha", "sabonete", "escova", "pente",
    // nature and time
    "sol", "lua", "estrela", "nuvem", "chuva", "vento", "neve", "mar", "rio", "lago", "praia", "areia",
    "pedra", "terra", "fogo", "flor", "planta", "galho", "fruto", "semente", "mato", "floresta", "campo",
    "morro", "serra", "ilha", "onda", "gelo", "dia", "noite", "tarde", "hora", "semana", "ano", "inverno",
    "outono", "primavera", "frio", "calor", "fumaça", "poça", "raio", "folhas", "flores", "rocha",
    // people
    "pai", "filho", "filha", "tio", "tia", "primo", "prima", "menino", "menina", "homem", "mulher",
    "gente", "pessoa", "vizinho", "vizinha", "doutor", "bombeiro", "padeiro", "rei", "rainha", "princesa",
    "bruxa", "pirata", "monstro", "palhaço", "criança", "moça", "moço", "garoto", "garota", "caçula",
    "gigante", "time", "grupo", "povo",
    // town and country
    "rua", "cidade", "bairro", "praça", "parque", "loja", "mercado", "feira", "ponte", "carro", "moto",
    "trem", "barco", "navio", "foguete", "caminho", "estrada", "sinal", "placa", "igreja", "museu",
    "cinema", "teatro", "hospital", "correio", "fazenda", "roça", "quintal", "jardim", "horta", "cerca",
    "muro", "telhado", "carroça", "farol", "poço", "porto",
    // the body
    "cabeça", "cabelo", "olho", "nariz", "boca", "dente", "orelha", "pescoço", "braço", "dedo", "unha",
    "perna", "joelho", "barriga", "costas", "ombro", "corpo", "sangue", "osso", "pele", "testa",
    // doing
    "ser", "estar", "ter", "fazer", "ir", "vir", "ver", "dar", "ler", "comer", "beber", "dormir", "correr",
    "pular", "nadar", "andar", "brincar", "jogar", "cantar", "dançar", "falar", "ouvir", "olhar", "pegar",
    "levar", "trazer", "abrir", "fechar", "subir", "descer", "sair", "chegar", "voltar", "ficar", "morar",
    "gostar", "querer", "poder", "saber", "pensar", "lembrar", "esquecer", "aprender", "estudar",
    "escrever", "desenhar", "pintar", "contar", "somar", "cortar", "colar", "lavar", "limpar", "arrumar",
    "ajudar", "chamar", "gritar", "rir", "chorar", "sorrir", "acordar", "sonhar", "viajar", "passear",
    "comprar", "vender", "pagar", "ganhar", "perder", "achar", "buscar", "mostrar", "guardar", "esperar",
    "tocar", "bater", "chutar", "rolar", "voar", "cair", "crescer", "plantar", "regar", "cozinhar",
    "assar", "digitar", "treinar", "acertar", "errar", "tentar", "vencer", "torcer", "fugir", "furar",
    "faço", "fez", "faz", "vou", "vai", "vamos", "foi", "era", "sou", "somos", "tem", "tenho", "tinha",
    "quer", "quero", "pode", "posso", "sei", "sabe", "gosto", "gosta", "come", "bebe", "corre", "pula",
    "joga", "canta", "dança", "olha", "brinca", "mora", "chega", "lava", "abre", "fecha", "pega",
    "leva", "traz", "diz", "disse", "deu", "viu", "veio", "fica", "ficou", "comeu", "correu", "pulou",
    "jogou", "cantou", "achou", "ganhou", "perdeu", "começa", "começo", "abraço", "ouço", "desço",
    // how things are
    "grande", "pequeno", "pequena", "bonito", "bonita", "feio", "feia", "novo", "nova", "velho", "velha",
    "alto", "alta", "baixo", "baixa", "gordo", "magro", "forte", "fraco", "lento", "devagar", "depressa",
    "quente", "fria", "azedo", "salgado", "gostoso", "gostosa", "bom", "boa", "ruim", "legal", "feliz",
    "triste", "bravo", "calmo", "calma", "cansado", "contente", "alegre", "limpo", "sujo", "cheio",
    "vazio", "claro", "escuro", "certo", "errado", "branco", "preto", "azul", "verde", "amarelo",
    "vermelho", "roxo", "rosa", "cinza", "marrom", "dourado", "primeiro", "fofo", "fofa", "fundo",
    "firme", "fresco", "gelado", "largo", "longo", "curto", "duro", "mole", "pesado", "leve",
    // little words
    "cedo", "longe", "perto", "muito", "pouco", "mais", "menos", "tudo", "nada", "todo", "toda", "cada",
    "outro", "outra", "mesmo", "junto", "sempre", "nunca", "hoje", "ontem", "agora", "depois", "antes",
    "aqui", "ali", "bem", "mal", "sim", "talvez", "ainda", "logo", "porque", "quando", "onde", "como",
    "quem", "qual", "que", "se", "mas", "ou", "e", "com", "sem", "por", "para", "de", "do", "dos", "no",
    "na", "nos", "nas", "em", "um", "uma", "uns", "umas", "o", "os", "ao", "meu", "minha", "seu", "sua",
    "nosso", "nossa", "ele", "ela", "eles", "elas", "eu", "isso", "isto", "esse", "essa", "este", "esta",
    "aquele", "aquela", "dois", "quatro", "cinco", "seis", "sete", "oito", "nove", "dez", "onze",
    "doze", "vinte", "cem", "mil",
    // things people like
    "filme", "desenho", "sonho", "viagem", "passeio", "presente", "surpresa",
    "futebol", "gol", "corrida", "danço", "piada", "risada", "graça", "fantasia", "pirulito",
    "bala", "balanço", "gangorra", "piscina", "barraca", "fogueira", "lanterna", "tambor", "flauta",
    "sanfona", "apito", "medalha",
};
// clang-format on
} // namespace

std::span<const char* const> ReforcoWords() {
    return kWords;
}
